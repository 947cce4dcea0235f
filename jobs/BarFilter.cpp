#include "jobs/BarFilter.h"

using namespace Qt::StringLiterals;

namespace {

QString qtPatterns(const QString &patterns)
{
    QStringList qt = patterns.split(u';', Qt::SkipEmptyParts);
    for (QString &pattern : qt) {
        pattern = pattern.trimmed();
        if (pattern == "*.*"_L1)
            pattern = u"*"_s;
    }
    return qt.join(u' ');
}

} // namespace

QStringList nameFiltersFromBarFilter(const QString &barFilter)
{
    const QStringList parts = barFilter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        filters.append(parts.at(i) + u" ("_s + qtPatterns(parts.at(i + 1)) + u')');
    return filters;
}
