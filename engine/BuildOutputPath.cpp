#include "engine/BuildOutputPath.h"

#include "engine/PathHelpers.h"

namespace {

QString timeSuffix(QTime time)
{
    return QString::number(time.hour()) + QString::number(time.minute()) +
           QString::number(time.second());
}

} // namespace

QString BuildOutputPath(const CommandEnvironment &environment, const QString &outputFolder,
                        const QString &inputPath, const QString &extension)
{
    const PathStyle style = environment.pathStyle;
    QString stem = outputFolder;
    if (!stem.endsWith(style.separator))
        stem += style.separator;
    stem += NameWithoutExtension(inputPath, style) + u'-' + timeSuffix(environment.clock());

    QString path = stem + extension;
    for (int copy = 2; environment.pathExists(path); ++copy)
        path = stem + u'-' + QString::number(copy) + extension;
    return path;
}
