#include "encoders/job/ToolLocator.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace {

QString searchPath(const QString &name, const QProcessEnvironment &environment)
{
    const QStringList folders =
        environment.value(u"PATH"_s).split(QDir::listSeparator(), Qt::SkipEmptyParts);
    // An empty list would make Qt search this process's own PATH instead.
    return folders.isEmpty() ? QString() : QStandardPaths::findExecutable(name, folders);
}

} // namespace

ToolLocator::Tools ToolLocator::locate(const QProcessEnvironment &environment)
{
    const QString chosen = environment.value(u"ZENVORA_FFMPEG"_s);
    if (chosen.isEmpty()) {
        const QString found = searchPath(u"ffmpeg"_s, environment);
        if (found.isEmpty())
            return {{},
                    u"ffmpeg is not installed: no ffmpeg on PATH and ZENVORA_FFMPEG is not set"_s};
        return {found, {}};
    }
    const bool isPath = QDir::fromNativeSeparators(chosen).contains(u'/');
    const QString found = isPath ? chosen : searchPath(chosen, environment);
    const QFileInfo file(found);
    if (found.isEmpty() || !file.isFile() || !file.isExecutable())
        return {{}, u"ZENVORA_FFMPEG names \"%1\", which is not an executable file"_s.arg(chosen)};
    return {file.absoluteFilePath(), {}};
}
