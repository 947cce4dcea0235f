#include "engine/PathHelpers.h"

#include <algorithm>

QString ParsePath(const QString &path, PathStyle style)
{
    for (qsizetype i = path.size() - 1; i >= 0; --i) {
        if (style.endsFolder(path.at(i)))
            return path.first(i + 1);
    }
    return {};
}

QString FileNameFromPath(const QString &path, PathStyle style)
{
    // A drive end is not a separator here: "C:a.avi" names the file "C:a.avi".
    return path.sliced(path.lastIndexOf(style.separator) + 1);
}

QString NameWithoutExtension(const QString &path, PathStyle style)
{
    const QString name = FileNameFromPath(path, style);
    const qsizetype dot = name.indexOf(u'.');
    return dot < 0 ? name : name.first(dot);
}
