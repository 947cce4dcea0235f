#include "engine/LegacyNames.h"

#include <QStringDecoder>
#include <QUtf8StringView>

QString LegacyNames::decode(QByteArrayView bytes)
{
    if (QUtf8StringView(bytes.data(), bytes.size()).isValidUtf8())
        return QString::fromUtf8(bytes);
    QStringDecoder gb18030("GB18030");
    if (gb18030.isValid()) {
        const QString decoded = gb18030(bytes);
        if (!gb18030.hasError())
            return decoded;
    }
    QString escaped;
    for (qsizetype at = 0; at < bytes.size();) {
        // The longest valid UTF-8 run from here, then one bad byte escaped.
        qsizetype end = at;
        while (end < bytes.size()) {
            const auto lead = static_cast<unsigned char>(bytes[end]);
            const qsizetype length = lead < 0x80 ? 1 : lead >= 0xf0 ? 4 : lead >= 0xe0 ? 3 : 2;
            if (end + length > bytes.size() ||
                !QUtf8StringView(bytes.data() + end, length).isValidUtf8())
                break;
            end += length;
        }
        escaped += QString::fromUtf8(bytes.sliced(at, end - at));
        if (end < bytes.size())
            escaped += QStringLiteral("%%1").arg(static_cast<unsigned char>(bytes[end]), 2, 16,
                                                 QChar(u'0'));
        at = end + 1;
    }
    return escaped;
}
