#include "PathHelpers.h"

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

bool IsPartFileOf(const QString &name, const QString &targetFileName)
{
    static constexpr qsizetype TagLength = 6;
    static constexpr qsizetype MaxNameBytes = 255;
    const qsizetype dot = targetFileName.lastIndexOf(u'.');
    QString base = dot < 0 ? targetFileName : targetFileName.first(dot);
    const QString suffix = dot < 0 ? QString() : targetFileName.sliced(dot);
    // The encoders shorten the base of a part name that would not fit.
    while (!base.isEmpty() &&
           (u'.' + base + QStringLiteral(".part-XXXXXX") + suffix).toUtf8().size() > MaxNameBytes)
        base.chop(base.size() > 1 && base.back().isLowSurrogate() ? 2 : 1);
    const QString prefix = u'.' + base + QStringLiteral(".part-");
    if (name.size() != prefix.size() + TagLength + suffix.size() || !name.startsWith(prefix) ||
        !name.endsWith(suffix))
        return false;
    const QStringView tag = QStringView(name).sliced(prefix.size(), TagLength);
    return std::all_of(tag.begin(), tag.end(),
                       [](QChar c) { return c.isDigit() || (c.isLetter() && c.unicode() < 128); });
}
