#include "encoders/options/CoderOptions.h"

#include "encoders/options/CommandLineReader.h"
#include "encoders/options/OptionValues.h"
#include "encoders/plan/AudioCodec.h"
#include "encoders/plan/VideoCodec.h"

#include <QHash>

using namespace Qt::StringLiterals;

ParsedRequest CoderOptions::parse(const QStringList &arguments)
{
    CoderOptions reader;
    return readCommandLine(reader, arguments);
}

QString CoderOptions::takeArgument(const QStringList &arguments, qsizetype &index)
{
    static const QHash<QString, Reader> readers{
        {u"-i"_s, &CoderOptions::readInput},
        {u"-f"_s, &CoderOptions::readFormat},
        {u"-s"_s, &CoderOptions::readSize},
        {u"-b"_s, &CoderOptions::readVideoBitrate},
        {u"-r"_s, &CoderOptions::readFrameRate},
        {u"-ab"_s, &CoderOptions::readAudioBitrate},
        {u"-ar"_s, &CoderOptions::readSampleRate},
        {u"-ac"_s, &CoderOptions::readChannels},
        {u"-vcodec"_s, &CoderOptions::readVideoCodec},
        {u"-acodec"_s, &CoderOptions::readAudioCodec},
        {u"-ss"_s, &CoderOptions::readStart},
        {u"-t"_s, &CoderOptions::readLength},
    };
    const QString &word = arguments.at(index);
    if (word == u"-y") {
        m_request.overwrite = true;
        return {};
    }
    if (word == u"-vn") {
        m_request.video.enabled = false;
        return {};
    }
    const Reader reader = readers.value(word);
    if (!reader)
        return takeOutput(word, index + 1 == arguments.size());
    if (index + 1 >= arguments.size())
        return u"option %1 needs a value"_s.arg(word);
    return (this->*reader)(arguments.at(++index));
}

QString CoderOptions::takeOutput(const QString &word, bool isLast)
{
    // The output comes last; only there may a name start with a dash, and it
    // needs an extension to be told from a mistyped option.
    const bool looksLikeFile = !word.startsWith(u'-') || (isLast && word.contains(u'.'));
    if (!looksLikeFile)
        return u"unknown option %1"_s.arg(word);
    if (!m_request.output.isEmpty())
        return u"more than one output file: \"%1\" and \"%2\"; is there a blank inside a value?"_s
            .arg(m_request.output, word);
    m_request.output = word;
    return {};
}

QString CoderOptions::readInput(const QString &value)
{
    if (!m_request.input.isEmpty())
        return u"only one input file can be given with -i"_s;
    m_request.input = value;
    return {};
}

QString CoderOptions::readFormat(const QString &value)
{
    m_request.container = value;
    return {};
}

QString CoderOptions::readSize(const QString &value)
{
    m_request.video.size = OptionValues::frameSize(value);
    if (!m_request.video.size)
        return u"-s needs a frame size such as 320x240, not \"%1\""_s.arg(value);
    return {};
}

QString CoderOptions::readVideoBitrate(const QString &value)
{
    m_request.video.bitsPerSecond = OptionValues::ffmpegBitrate(value);
    if (!m_request.video.bitsPerSecond)
        return u"-b needs a bitrate such as 1200k, not \"%1\""_s.arg(value);
    return {};
}

QString CoderOptions::readFrameRate(const QString &value)
{
    m_request.video.frameRate = OptionValues::frameRate(value);
    if (!m_request.video.frameRate || *m_request.video.frameRate <= 0)
        return u"-r needs a frame rate such as 25 or 30000/1001, not \"%1\""_s.arg(value);
    return {};
}

QString CoderOptions::readAudioBitrate(const QString &value)
{
    m_request.audio.bitsPerSecond = OptionValues::ffmpegBitrate(value);
    if (!m_request.audio.bitsPerSecond)
        return u"-ab needs a bitrate such as 128k, not \"%1\""_s.arg(value);
    return {};
}

QString CoderOptions::readSampleRate(const QString &value)
{
    m_request.audio.sampleRate = OptionValues::wholeNumber(value);
    if (!m_request.audio.sampleRate || *m_request.audio.sampleRate == 0)
        return u"-ar needs a sample rate in Hz such as 44100, not \"%1\""_s.arg(value);
    return {};
}

QString CoderOptions::readChannels(const QString &value)
{
    m_request.audio.channels = OptionValues::wholeNumber(value);
    if (!m_request.audio.channels)
        return u"-ac needs a channel count, not \"%1\""_s.arg(value);
    return {};
}

QString CoderOptions::readVideoCodec(const QString &value)
{
    const VideoCodec *codec = VideoCodec::find(value);
    if (!codec)
        return u"unsupported video codec -vcodec %1"_s.arg(value);
    m_request.video.codec = codec->name();
    return {};
}

QString CoderOptions::readAudioCodec(const QString &value)
{
    const AudioCodec *codec = AudioCodec::find(value);
    if (!codec)
        return u"unsupported audio codec -acodec %1"_s.arg(value);
    m_request.audio.codec = codec->name();
    return {};
}

QString CoderOptions::readStart(const QString &value)
{
    const std::optional<double> seconds = OptionValues::seconds(value);
    if (!seconds)
        return u"-ss needs a time such as 90 or 00:01:30, not \"%1\""_s.arg(value);
    m_request.cut.startSeconds = *seconds;
    return {};
}

QString CoderOptions::readLength(const QString &value)
{
    m_request.cut.lengthSeconds = OptionValues::seconds(value);
    if (!m_request.cut.lengthSeconds)
        return u"-t needs a time such as 90 or 00:01:30, not \"%1\""_s.arg(value);
    return {};
}

QString CoderOptions::finish() const
{
    if (m_request.input.isEmpty())
        return u"no input file given: use -i"_s;
    if (m_request.output.isEmpty())
        return u"no output file given"_s;
    return {};
}
