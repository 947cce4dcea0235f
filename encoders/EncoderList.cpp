#include "EncoderList.h"

#include <QList>

namespace EncoderList {

QSet<QString> parse(const QByteArray &listing)
{
    QSet<QString> names;
    bool inTable = false;
    for (const QByteArray &line : listing.split('\n')) {
        const QList<QByteArray> words = line.simplified().split(' ');
        if (!inTable) {
            inTable = words.first().startsWith("---");
            continue;
        }
        if (words.size() >= 2)
            names.insert(QString::fromUtf8(words.at(1)));
    }
    return names;
}

} // namespace EncoderList
