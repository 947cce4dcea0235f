#include "encoders/options/CoderOptions.h"

#include "encoders/options/CommandLineReader.h"
#include "encoders/options/OptionValues.h"
#include "encoders/plan/AudioCodec.h"
#include "encoders/plan/VideoCodec.h"

#include <QHash>

using namespace Qt::StringLiterals;

namespace {

// Each option with a value: reads it into the request, or says why it cannot.
QString readInput(EncodeRequest &request, const QString &value)
{
    if (!request.input.isEmpty())
        return u"only one input file can be given with -i"_s;
    request.input = value;
    return {};
}

QString readFormat(EncodeRequest &request, const QString &value)
{
    request.container = value;
    return {};
}

QString readSize(EncodeRequest &request, const QString &value)
{
    request.video.size = OptionValues::frameSize(value);
    if (!request.video.size)
        return u"-s needs a frame size such as 320x240, not \"%1\""_s.arg(value);
    return {};
}

QString readVideoBitrate(EncodeRequest &request, const QString &value)
{
    request.video.bitsPerSecond = OptionValues::ffmpegBitrate(value);
    if (!request.video.bitsPerSecond)
        return u"-b needs a bitrate such as 1200k, not \"%1\""_s.arg(value);
    return {};
}

QString readFrameRate(EncodeRequest &request, const QString &value)
{
    request.video.frameRate = OptionValues::frameRate(value);
    if (!request.video.frameRate || *request.video.frameRate <= 0)
        return u"-r needs a frame rate such as 25 or 30000/1001, not \"%1\""_s.arg(value);
    return {};
}

QString readAudioBitrate(EncodeRequest &request, const QString &value)
{
    request.audio.bitsPerSecond = OptionValues::ffmpegBitrate(value);
    if (!request.audio.bitsPerSecond)
        return u"-ab needs a bitrate such as 128k, not \"%1\""_s.arg(value);
    return {};
}

QString readSampleRate(EncodeRequest &request, const QString &value)
{
    request.audio.sampleRate = OptionValues::wholeNumber(value);
    if (!request.audio.sampleRate || *request.audio.sampleRate == 0)
        return u"-ar needs a sample rate in Hz such as 44100, not \"%1\""_s.arg(value);
    return {};
}

QString readChannels(EncodeRequest &request, const QString &value)
{
    request.audio.channels = OptionValues::wholeNumber(value);
    if (!request.audio.channels)
        return u"-ac needs a channel count, not \"%1\""_s.arg(value);
    return {};
}

QString readVideoCodec(EncodeRequest &request, const QString &value)
{
    const VideoCodec *codec = VideoCodec::find(value);
    if (!codec)
        return u"unsupported video codec -vcodec %1"_s.arg(value);
    request.video.codec = codec->name();
    return {};
}

QString readAudioCodec(EncodeRequest &request, const QString &value)
{
    const AudioCodec *codec = AudioCodec::find(value);
    if (!codec)
        return u"unsupported audio codec -acodec %1"_s.arg(value);
    request.audio.codec = codec->name();
    return {};
}

QString readStart(EncodeRequest &request, const QString &value)
{
    const std::optional<double> seconds = OptionValues::seconds(value);
    if (!seconds)
        return u"-ss needs a time such as 90 or 00:01:30, not \"%1\""_s.arg(value);
    request.cut.startSeconds = *seconds;
    return {};
}

QString readLength(EncodeRequest &request, const QString &value)
{
    request.cut.lengthSeconds = OptionValues::seconds(value);
    if (!request.cut.lengthSeconds)
        return u"-t needs a time such as 90 or 00:01:30, not \"%1\""_s.arg(value);
    return {};
}

} // namespace

ParsedRequest CoderOptions::parse(const QStringList &arguments)
{
    CoderOptions reader;
    return readCommandLine(reader, arguments);
}

QString CoderOptions::takeArgument(const QStringList &arguments, qsizetype &index)
{
    static const QHash<QString, Reader> readers{
        {u"-i"_s, readInput},           {u"-f"_s, readFormat},    {u"-s"_s, readSize},
        {u"-b"_s, readVideoBitrate},    {u"-r"_s, readFrameRate}, {u"-ab"_s, readAudioBitrate},
        {u"-ar"_s, readSampleRate},     {u"-ac"_s, readChannels}, {u"-vcodec"_s, readVideoCodec},
        {u"-acodec"_s, readAudioCodec}, {u"-ss"_s, readStart},    {u"-t"_s, readLength},
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
    return reader(m_request, arguments.at(++index));
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

QString CoderOptions::finish() const
{
    if (m_request.input.isEmpty())
        return u"no input file given: use -i"_s;
    if (m_request.output.isEmpty())
        return u"no output file given"_s;
    return {};
}
