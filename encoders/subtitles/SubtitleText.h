#pragma once

#include <QByteArray>
#include <QString>

// The text of a subtitle file in whatever encoding its maker's system
// wrote: UTF-8 with or without a byte order mark, UTF-16, and the Chinese
// legacy encodings GB18030 (GBK, GB2312) and Big5, told apart by which of
// them reads as common Chinese.
class SubtitleText final
{
public:
    // The name of the encoding the bytes are in, as QStringDecoder takes it.
    static QByteArray encodingOf(const QByteArray &bytes);
    static QString decode(const QByteArray &bytes);
    // Whether the text reads as subtitles of the kind its extension names
    // ("srt", "ass", "ssa", "vtt"): a file that does not would fail the
    // conversion it was meant to caption.
    static bool isSubtitles(const QString &text, const QString &extension);
};
