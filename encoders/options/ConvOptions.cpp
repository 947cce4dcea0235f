#include "encoders/options/ConvOptions.h"

#include "encoders/options/CommandLineReader.h"
#include "encoders/options/OptionValues.h"
#include "encoders/plan/AudioCodec.h"
#include "encoders/plan/VideoCodec.h"

#include <QHash>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// What MEncoder uses when the command leaves these out.
const QString DefaultOutputFormat = u"avi"_s;
const QString DefaultLavcVideoCodec = u"mpeg4"_s;
const QString DefaultLavcAudioCodec = u"mp2"_s;

// LAME's named presets: "insane" is constant 320 kbit/s, the others are
// variable-bitrate qualities.
const QHash<QString, int> LameQualityPresets{
    {u"extreme"_s, 0}, {u"standard"_s, 2}, {u"medium"_s, 4}};
constexpr qint64 InsaneBitrate = 320000;

qint64 kilobits(double value)
{
    return static_cast<qint64>(std::round(value * 1000.0));
}

// MEncoder's "key=value:key=value" sub-option lists (-lavcopts, -lameopts,
// -lavfopts). A key without "=" is a flag with an empty value.
QList<QPair<QString, QString>> subOptions(const QString &text)
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

} // namespace

ParsedRequest ConvOptions::parse(const QStringList &arguments, const FileExists &fileExists)
{
    ConvOptions reader(fileExists);
    return readCommandLine(reader, arguments);
}

QString ConvOptions::takeArgument(const QStringList &arguments, qsizetype &index)
{
    static const QHash<QString, Reader> readers{
        {u"-o"_s, &ConvOptions::readOutput},
        {u"-oac"_s, &ConvOptions::readAudioEncoder},
        {u"-ovc"_s, &ConvOptions::readVideoEncoder},
        {u"-ofps"_s, &ConvOptions::readFrameRate},
        {u"-of"_s, &ConvOptions::readOutputFormat},
        {u"-lavcopts"_s, &ConvOptions::readLavcOptions},
        {u"-lameopts"_s, &ConvOptions::readLameOptions},
        {u"-lavfopts"_s, &ConvOptions::readLavfOptions},
        {u"-ss"_s, &ConvOptions::readStart},
        {u"-endpos"_s, &ConvOptions::readEndPosition},
    };
    const QString &word = arguments.at(index);
    const Reader reader = readers.value(word);
    if (!reader)
        return takeInput(word);
    if (index + 1 >= arguments.size())
        return u"option %1 needs a value"_s.arg(word);
    return (this->*reader)(arguments.at(++index));
}

QString ConvOptions::takeInput(const QString &word)
{
    if (word.startsWith(u'-') && !m_fileExists(word))
        return u"unknown option %1"_s.arg(word);
    if (!m_request.input.isEmpty())
        return u"unexpected argument \"%1\": the input file is already \"%2\""_s.arg(
            word, m_request.input);
    m_request.input = word;
    return {};
}

QString ConvOptions::readOutput(const QString &value)
{
    m_request.output = value;
    return {};
}

QString ConvOptions::readAudioEncoder(const QString &value)
{
    if (value != u"lavc" && value != u"mp3lame")
        return u"unsupported audio encoder -oac %1: use lavc or mp3lame"_s.arg(value);
    m_audioEncoder = value;
    return {};
}

QString ConvOptions::readVideoEncoder(const QString &value)
{
    if (value != u"lavc")
        return u"unsupported video encoder -ovc %1: use lavc"_s.arg(value);
    m_videoEncoder = value;
    return {};
}

QString ConvOptions::readFrameRate(const QString &value)
{
    m_request.video.frameRate = OptionValues::frameRate(value);
    if (!m_request.video.frameRate)
        return u"-ofps needs a frame rate such as 25 or 30000/1001, not \"%1\""_s.arg(value);
    return {};
}

QString ConvOptions::readOutputFormat(const QString &value)
{
    if (value != u"avi" && value != u"lavf" && value != u"mpeg")
        return u"unsupported output format -of %1: use avi, mpeg or lavf"_s.arg(value);
    m_outputFormat = value;
    return {};
}

QString ConvOptions::readStart(const QString &value)
{
    const std::optional<double> seconds = OptionValues::seconds(value);
    if (!seconds)
        return u"-ss needs a time such as 90 or 1:30, not \"%1\""_s.arg(value);
    m_request.cut.startSeconds = *seconds;
    return {};
}

// MEncoder counts the end position from the start time, not from the
// input's start. Its byte positions are not taken: nothing here writes them.
QString ConvOptions::readEndPosition(const QString &value)
{
    m_request.cut.lengthSeconds = OptionValues::seconds(value);
    if (!m_request.cut.lengthSeconds)
        return u"-endpos needs a time such as 90 or 1:30, not \"%1\""_s.arg(value);
    return {};
}

QString ConvOptions::readLavcOptions(const QString &text)
{
    for (const auto &[key, value] : subOptions(text)) {
        if (const QString error = readLavcOption(key, value); !error.isEmpty())
            return error;
    }
    return {};
}

QString ConvOptions::readLavcOption(const QString &key, const QString &value)
{
    if (key == u"vcodec") {
        const VideoCodec *codec = VideoCodec::find(value);
        if (!codec)
            return u"unsupported video codec vcodec=%1"_s.arg(value);
        m_request.video.codec = codec->name();
        return {};
    }
    if (key == u"acodec") {
        const AudioCodec *codec = AudioCodec::find(value);
        if (!codec)
            return u"unsupported audio codec acodec=%1"_s.arg(value);
        m_lavcAudioCodec = codec->name();
        return {};
    }
    if (key != u"vbitrate" && key != u"abitrate" && key != u"vpass")
        return u"unknown -lavcopts setting %1"_s.arg(key);
    const std::optional<double> number = OptionValues::decimal(value);
    if (!number || *number <= 0)
        return u"-lavcopts %1 needs a positive number, not \"%2\""_s.arg(key, value);
    if (key == u"vbitrate")
        m_request.video.bitsPerSecond =
            *number > LargestKilobitValue ? static_cast<qint64>(*number) : kilobits(*number);
    else if (key == u"abitrate")
        m_lavcAudioBitrate = kilobits(*number);
    // vpass: there is never a later run to use a first pass's statistics, so
    // any pass writes the finished file in one go.
    else if (*number > 3)
        return u"-lavcopts vpass must be 1, 2 or 3, not %1"_s.arg(value);
    return {};
}

QString ConvOptions::readLameOptions(const QString &text)
{
    for (const auto &[key, value] : subOptions(text)) {
        if (key != u"preset")
            return u"unknown -lameopts setting %1"_s.arg(key);
        m_lameAudio = {};
        if (value == u"insane") {
            m_lameAudio.bitsPerSecond = InsaneBitrate;
        } else if (LameQualityPresets.contains(value)) {
            m_lameAudio.vbrQuality = LameQualityPresets.value(value);
        } else if (const std::optional<double> rate = OptionValues::decimal(value);
                   rate && *rate > 0) {
            // LAME's presets by bitrate aim at an average, which falls far
            // short on plain sound and never reaches 320 kbit/s; the window
            // shows the bitrate chosen, so the file has it throughout.
            m_lameAudio.bitsPerSecond = kilobits(*rate);
        } else {
            return u"-lameopts preset must be a bitrate or medium, standard, extreme or insane, "
                   "not \"%1\""_s.arg(value);
        }
    }
    return {};
}

QString ConvOptions::readLavfOptions(const QString &text)
{
    for (const auto &[key, value] : subOptions(text)) {
        if (key != u"format")
            return u"unknown -lavfopts setting %1"_s.arg(key);
        m_lavfFormat = value;
    }
    return {};
}

QString ConvOptions::finish()
{
    if (m_request.input.isEmpty())
        return u"no input file given"_s;
    if (m_request.output.isEmpty())
        return u"no output file given: use -o"_s;
    if (m_videoEncoder.isEmpty())
        return u"no video encoder chosen: use -ovc lavc"_s;
    if (m_audioEncoder.isEmpty())
        return u"no audio encoder chosen: use -oac lavc or -oac mp3lame"_s;
    m_request.overwrite = true;
    if (m_request.video.codec.isEmpty())
        m_request.video.codec = DefaultLavcVideoCodec;
    if (m_audioEncoder == u"mp3lame") {
        m_request.audio = m_lameAudio;
        m_request.audio.codec = u"mp3"_s;
    } else {
        m_request.audio.codec =
            m_lavcAudioCodec.isEmpty() ? DefaultLavcAudioCodec : m_lavcAudioCodec;
        m_request.audio.bitsPerSecond = m_lavcAudioBitrate;
    }
    const QString format = m_outputFormat.isEmpty() ? DefaultOutputFormat : m_outputFormat;
    m_request.container = format == u"lavf" ? m_lavfFormat : format;
    return {};
}
