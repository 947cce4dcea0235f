#include "CommandEnvironment.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

QString CommandEnvironment::programPath(Encoder encoder) const
{
    const QChar separator = pathStyle.separator;
    return programFolder + separator + u"data"_s + separator + executableName(encoder);
}

bool CommandEnvironment::fileExists(const QString &path)
{
    return QFileInfo::exists(path);
}
