#include "encoders/system/DiskFlush.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <unistd.h>

namespace DiskFlush {

namespace {

bool flush(const QString &path, int flags)
{
    const int descriptor = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    const bool flushed = ::fsync(descriptor) == 0;
    ::close(descriptor);
    return flushed;
}

} // namespace

bool file(const QString &path)
{
    return flush(path, O_RDONLY);
}

bool folderOf(const QString &path)
{
    return flush(QFileInfo(path).absolutePath(), O_RDONLY | O_DIRECTORY);
}

} // namespace DiskFlush
