#include "encoders/subtitles/SubtitleText.h"

#include <QStringDecoder>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// The characters most frequent in Chinese dialogue, in both their
// simplified and their traditional forms. Text in one of the two legacy
// encodings read as the other comes out as rare characters instead.
const QString &commonCharacters()
{
    static const QString characters =
        u"的一是不了人我在有他这這中大来來上国國个個到说說们們为為子和你地出道也时時年得就那要下"
        u"以生会會自着著去之过過家学學对對可她里裡后後小么麼心多天而能好都然没沒日于於起还還发發"
        u"成事只作当當想看文无無开開手十用主行方又如前所本见見经經头頭面公同三已老从從动動两兩长長"
        u"知民样樣现現分将將外但身些与與高意进進把法此实實回二理美点點月明其种種声聲全工己话話儿兒"
        u"者向情部正名定女问問力机機给給等几幾很业業最间間新什打便位因重被走电電四第门門相次东東海"
        u"口使教西再平真听聽世气氣信北少关關并內加化由却卻代军軍产產入先山五太水万萬市眼体體别別处"
        u"處"
        u"总總才场場师師书書比住员員九笑性通目华華报報立马馬命张張活难難神数數件安表原车車白应應路"
        u"期"
        u"叫死常提感金何更反合放做系吗嗎吧呢啊哦嗯谁誰怎别讓让請请谢謝对不起没有知道什么麼这样這樣"_s;
    return characters;
}

// How Chinese the text reads: common characters count for it, characters
// the decoder could not read against it.
qsizetype chineseScore(const QString &text)
{
    qsizetype score = 0;
    for (const QChar character : text) {
        if (character == QChar::ReplacementCharacter)
            score -= 10;
        else if (character.unicode() >= 0x3400 && commonCharacters().contains(character))
            ++score;
    }
    return score;
}

QString decodeAs(const QByteArray &bytes, const char *encoding)
{
    QStringDecoder decoder(encoding);
    return decoder.isValid() ? decoder.decode(bytes) : QString();
}

bool isUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(bytes);
    return !decoder.hasError();
}

// UTF-16 without a byte order mark: the high byte of every ASCII
// character is zero, on the odd bytes in little-endian order.
QByteArray utf16WithoutMark(const QByteArray &bytes)
{
    const QByteArrayView head =
        QByteArrayView(bytes).first(std::min<qsizetype>(bytes.size(), 4096));
    qsizetype evenZeros = 0;
    qsizetype oddZeros = 0;
    for (qsizetype position = 0; position < head.size(); ++position) {
        if (head[position] == '\0')
            ++(position % 2 == 0 ? evenZeros : oddZeros);
    }
    const qsizetype pairs = head.size() / 2;
    if (pairs == 0)
        return {};
    if (oddZeros * 4 > pairs && evenZeros * 20 < pairs)
        return "UTF-16LE";
    if (evenZeros * 4 > pairs && oddZeros * 20 < pairs)
        return "UTF-16BE";
    return {};
}

} // namespace

QByteArray SubtitleText::encodingOf(const QByteArray &bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return "UTF-8";
    if (bytes.startsWith("\xFF\xFE"))
        return "UTF-16LE";
    if (bytes.startsWith("\xFE\xFF"))
        return "UTF-16BE";
    if (const QByteArray wide = utf16WithoutMark(bytes); !wide.isEmpty())
        return wide;
    if (isUtf8(bytes))
        return "UTF-8";
    const qsizetype asGb = chineseScore(decodeAs(bytes, "GB18030"));
    const qsizetype asBig5 = chineseScore(decodeAs(bytes, "Big5"));
    return asBig5 > asGb ? "Big5" : "GB18030";
}

QString SubtitleText::decode(const QByteArray &bytes)
{
    QString text = decodeAs(bytes, encodingOf(bytes).constData());
    if (text.startsWith(QChar::ByteOrderMark))
        text.remove(0, 1);
    return text;
}

bool SubtitleText::isSubtitles(const QString &text, const QString &extension)
{
    const QString kind = extension.toLower();
    if (kind == u"ass" || kind == u"ssa")
        return text.contains(u"[Events]"_s, Qt::CaseInsensitive);
    if (kind == u"vtt")
        return text.startsWith(u"WEBVTT"_s);
    return text.contains(u"-->"_s);
}
