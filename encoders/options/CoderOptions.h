#pragma once

#include "encoders/options/EncodeRequest.h"

#include <QStringList>

// Reads the FFmpeg-style command line of coder.exe and coder2.exe, in the
// option names of the FFmpeg builds of their time: -i, -y, -f, -s, -b, -r, -ab,
// -ar, -ac, -vcodec, -acodec, -vn, -ss, -t, and the output file as the one word that
// is not an option.
class CoderOptions final
{
public:
    static ParsedRequest parse(const QStringList &arguments);

private:
    template <typename OptionReader>
    friend ParsedRequest readCommandLine(OptionReader &reader, const QStringList &arguments);
    using Reader = QString (CoderOptions::*)(const QString &value);

    QString takeArgument(const QStringList &arguments, qsizetype &index);
    QString takeOutput(const QString &word, bool isLast);
    QString readInput(const QString &value);
    QString readFormat(const QString &value);
    QString readSize(const QString &value);
    QString readVideoBitrate(const QString &value);
    QString readFrameRate(const QString &value);
    QString readAudioBitrate(const QString &value);
    QString readSampleRate(const QString &value);
    QString readChannels(const QString &value);
    QString readVideoCodec(const QString &value);
    QString readAudioCodec(const QString &value);
    QString readStart(const QString &value);
    QString readLength(const QString &value);
    QString finish() const;

    EncodeRequest m_request;
};
