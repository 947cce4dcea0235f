#include "engine/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace AppPaths {

QString ProgramFolder()
{
    // Started through a link (the installed bin folder has only links), the
    // program folder is still the one the real executable lies in.
    const QFileInfo program(QCoreApplication::applicationFilePath());
    const QString real = program.canonicalPath();
    return real.isEmpty() ? program.absolutePath() : real;
}

QString DefaultOutputFolder()
{
    QString videos = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
    if (videos.isEmpty())
        videos = QDir::homePath();
    return videos + QStringLiteral("/Zenvora");
}

QString TempFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
           QStringLiteral("/zenvora/tmp");
}

bool createPrivateFolder(const QString &path)
{
    if (!QDir().mkpath(path))
        return false;
    return QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace AppPaths
