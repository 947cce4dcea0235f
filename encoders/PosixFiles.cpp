#include "PosixFiles.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <stdio.h>
#include <system_error>
#include <unistd.h>

namespace PosixFiles {

namespace {

RenameResult failure(int errorNumber, QString &error)
{
    if (errorNumber == EEXIST)
        return RenameResult::NameTaken;
    error = QString::fromStdString(std::system_category().message(errorNumber));
    return RenameResult::Failed;
}

// A hard link, too, is never made over an existing name. Should the old
// name stay, the new one goes again, so that no file is left twice.
RenameResult linkThenUnlink(const QByteArray &from, const QByteArray &to, QString &error)
{
    if (::link(from.constData(), to.constData()) != 0)
        return failure(errno, error);
    if (::unlink(from.constData()) == 0)
        return RenameResult::Renamed;
    const int errorNumber = errno;
    ::unlink(to.constData());
    return failure(errorNumber, error);
}

} // namespace

RenameResult renameWithoutReplacing(const QString &from, const QString &to, QString &error)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) ==
        0)
        return RenameResult::Renamed;
    // Some file systems (NFS, CIFS, some FUSE ones) cannot rename without
    // replacing; most of them can link.
    if (errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP)
        return linkThenUnlink(source, target, error);
    return failure(errno, error);
}

} // namespace PosixFiles
