#include "encoders/options/SubOptions.h"

#include <QStringList>

namespace SubOptions {

QList<QPair<QString, QString>> split(const QString &text)
{
    QList<QPair<QString, QString>> entries;
    for (const QString &entry : text.split(u':', Qt::SkipEmptyParts)) {
        const qsizetype equals = entry.indexOf(u'=');
        if (equals < 0)
            entries.append({entry, QString()});
        else
            entries.append({entry.left(equals), entry.mid(equals + 1)});
    }
    return entries;
}

} // namespace SubOptions
