#include "engine/BuildOutputPath.h"

#include "engine/PathHelpers.h"

QString BuildOutputPath(const CommandEnvironment &environment, const QString &outputFolder,
                        const QString &inputPath, const QString &extension)
{
    const PathStyle style = environment.pathStyle;
    const QTime time = environment.clock();
    QString stem = outputFolder;
    if (!stem.endsWith(style.separator))
        stem += style.separator;
    stem += NameWithoutExtension(inputPath, style) + u'-' + QString::number(time.hour()) +
            QString::number(time.minute()) + QString::number(time.second());

    QString path = stem + extension;
    for (int copy = 2; environment.pathExists(path); ++copy)
        path = stem + u'-' + QString::number(copy) + extension;
    return path;
}
