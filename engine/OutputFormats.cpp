#include "engine/OutputFormats.h"

#include "engine/ConversionSettings.h"

#include <array>

using namespace Qt::StringLiterals;

namespace {

using FormatTable = std::array<FormatSpec, OutputFormats::Count>;

// Two-stage formats first make an MPEG-4 AVI of fixed quality; their
// settings only matter in the second stage.
Fragments toIntermediate()
{
    return {
        u" "_s, PathSlot::Input,
        u" -oac mp3lame -lameopts preset=320 -ovc lavc -lavcopts vcodec=mpeg4:vbitrate=1200 -of avi -o "_s,
        PathSlot::Intermediate};
}

// The AVI target gets the MPEG-2 command as it is, container included.
Fragments mpeg2()
{
    return {u" "_s,
            PathSlot::Input,
            u" -oac lavc -lavcopts acodec=mp2:abitrate="_s,
            Parameter::AudioBitrate,
            u" -ovc lavc -lavcopts vcodec=mpeg2video:vbitrate="_s,
            Parameter::VideoBitrate,
            u":vpass=1 -ofps "_s,
            Parameter::FrameRate,
            u" -of lavf -lavfopts format=yuv4mpeg -o "_s,
            PathSlot::Output};
}

// A format's entry in the format combo, marked for translation with the
// other entries of the combos.
QString entry(const char *text)
{
    return QString::fromUtf8(text);
}

Fragments fromIntermediate(Fragments rest)
{
    return Fragments{u" -i "_s, PathSlot::Intermediate} + rest;
}

// With the source size the RealMedia command uses fixed rates. The double
// space before "-ab" stays: the command reads exactly as it always has.
StageTwoFragments realMedia()
{
    return {
        Encoder::Coder,
        fromIntermediate({u" -y -vcodec rv10 -b 1200k -f rm  -ab 128k -ac 2 "_s, PathSlot::Output}),
        fromIntermediate({u" -y -s "_s, Parameter::Size, u" -vcodec rv10 -b "_s,
                          Parameter::VideoBitrate, u"k -f rm -ar "_s, Parameter::AudioRate,
                          u" -ab "_s, Parameter::AudioBitrate, u"k -ac "_s, Parameter::Channels,
                          u" "_s, PathSlot::Output})};
}

// Phones want a small picture of known size, so the source size becomes 320x240.
StageTwoFragments mobile()
{
    const QString tail = u" -vcodec mpeg4 -acodec amr_nb -ac 1 -ar 8000 -ab 12.2k "_s;
    return {Encoder::Coder2, fromIntermediate({u" -y -s 320x240"_s + tail, PathSlot::Output}),
            fromIntermediate({u" -y -s "_s, Parameter::Size, tail, PathSlot::Output})};
}

// Today's formats in one stage: each parameter's option is left out at the
// entry that leaves its value to the source or to a quality target.
Fragments modernFormat(const QString &videoCodec, const QString &audioCodec)
{
    return {u" -i "_s,
            PathSlot::Input,
            u" -y"_s,
            ParameterOption{u" -s "_s, Parameter::Size},
            u" -vcodec "_s + videoCodec,
            ParameterOption{u" -b "_s, Parameter::VideoBitrate, u"k"_s},
            ParameterOption{u" -r "_s, Parameter::FrameRate},
            u" -acodec "_s + audioCodec + u" -ar "_s,
            Parameter::AudioRate,
            u" -ab "_s,
            Parameter::AudioBitrate,
            u"k -ac "_s,
            Parameter::Channels,
            u" "_s,
            PathSlot::Output};
}

FormatTable buildTable()
{
    const QString sourceSize = ConversionSettings::SourceSize.toString();
    const FormatDefaults highBitrate{u"1200"_s, u"29"_s, sourceSize, u"44100"_s, u"320"_s, 1};
    const FormatDefaults mpeg2Defaults{u"600"_s, u"24"_s, sourceSize, u"28000"_s, u"64"_s, 1};
    // Phones of the day wanted small pictures and mono AMR sound.
    const FormatDefaults mobileDefaults{u"128"_s, u"29"_s, u"320x240"_s, u"8000"_s, u"12.2"_s, 0};
    const QString quality = ConversionSettings::QualityBitrate.toString();
    const QString sourceRate = ConversionSettings::SourceFrameRate.toString();
    const FormatDefaults mp4Defaults{quality, sourceRate, sourceSize, u"48000"_s, u"160"_s, 1};
    return {{
        {.format = OutputFormat::Rmvb,
         .entryText = entry(QT_TRANSLATE_NOOP("ConversionCombos", "RMVB(RealPlayerRMVB)")),
         .cliName = u"rmvb"_s,
         .stageOne = Encoder::Conv,
         .stageOneFragments = toIntermediate(),
         .stageTwo = realMedia(),
         .extension = u".rmvb"_s,
         .defaults = highBitrate},
        {.format = OutputFormat::Rm,
         .entryText = entry(QT_TRANSLATE_NOOP("ConversionCombos", "RM(RealPlayerRM)")),
         .cliName = u"rm"_s,
         .stageOne = Encoder::Conv,
         .stageOneFragments = toIntermediate(),
         .stageTwo = realMedia(),
         .extension = u".rm"_s,
         .defaults = highBitrate},
        {.format = OutputFormat::Mpg,
         .entryText = entry(QT_TRANSLATE_NOOP("ConversionCombos", "MPG(MPEG2)")),
         .cliName = u"mpg"_s,
         .stageOne = Encoder::Conv,
         .stageOneFragments = mpeg2(),
         .extension = u".mpg"_s,
         .defaults = mpeg2Defaults},
        {.format = OutputFormat::Avi,
         .entryText = entry(QT_TRANSLATE_NOOP("ConversionCombos", "AVI(Windows Media Player格式)")),
         .cliName = u"avi"_s,
         .stageOne = Encoder::Conv,
         .stageOneFragments = mpeg2(),
         .extension = u".avi"_s,
         .defaults = mpeg2Defaults},
        {.format = OutputFormat::Mp4HighQuality,
         .entryText = entry(QT_TRANSLATE_NOOP("ConversionCombos", "MP4(高清MPEG4格式)")),
         .cliName = u"mp4hq"_s,
         .stageOne = Encoder::Conv,
         .stageOneFragments = {u" "_s, PathSlot::Input, u" -oac mp3lame -lameopts preset="_s,
                               Parameter::AudioBitrate,
                               u" -ovc lavc -lavcopts vcodec=mpeg4:vbitrate="_s,
                               Parameter::VideoBitrate, u" -of avi -o "_s, PathSlot::Output},
         .extension = u".mp4"_s,
         .defaults = {u"1200"_s, u"29"_s, sourceSize, u"48000"_s, u"320"_s, 1}},
        {.format = OutputFormat::Mov,
         .entryText = entry(QT_TRANSLATE_NOOP("ConversionCombos", "MOV(QuickTime格式)")),
         .cliName = u"mov"_s,
         .stageOne = Encoder::Conv,
         .stageOneFragments = toIntermediate(),
         .stageTwo =
             StageTwoFragments{
                 Encoder::Coder,
                 fromIntermediate({u" -y -ac 2 -ar 48000 -ab 128k "_s, PathSlot::Output}),
                 fromIntermediate({u" -y -s "_s, Parameter::Size, u" -ac 2 -ar 48000 -ab 128k "_s,
                                   PathSlot::Output})},
         .extension = u".mov"_s,
         .defaults = {u"256"_s, u"29"_s, sourceSize, u"48000"_s, u"64"_s, 1}},
        {.format = OutputFormat::Mp4Mobile,
         .entryText = entry(QT_TRANSLATE_NOOP("ConversionCombos", "MP4(手机MP4格式)")),
         .cliName = u"mp4mobile"_s,
         .stageOne = Encoder::Conv,
         .stageOneFragments = toIntermediate(),
         .stageTwo = mobile(),
         .extension = u".mp4"_s,
         .defaults = mobileDefaults},
        {.format = OutputFormat::ThreeGpMobile,
         .entryText = entry(QT_TRANSLATE_NOOP("ConversionCombos", "3GP(手机3GP格式)")),
         .cliName = u"3gp"_s,
         .stageOne = Encoder::Conv,
         .stageOneFragments = toIntermediate(),
         .stageTwo = mobile(),
         .extension = u".3gp"_s,
         .defaults = mobileDefaults},
        // An audio-only target leaves the picture settings as the user had them.
        {.format = OutputFormat::Mp3Audio,
         .entryText = entry(QT_TRANSLATE_NOOP("ConversionCombos", "MP3(纯音频格式)")),
         .cliName = u"mp3"_s,
         .stageOne = Encoder::Coder,
         .stageOneFragments = {u" -i "_s, PathSlot::Input, u" -y -vn -ar "_s, Parameter::AudioRate,
                               u" -ab "_s, Parameter::AudioBitrate, u"k -ac "_s,
                               Parameter::Channels, u" "_s, PathSlot::Output},
         .extension = u".mp3"_s,
         .defaults = {std::nullopt, std::nullopt, std::nullopt, u"48000"_s, u"320"_s, 1}},
        {.format = OutputFormat::H264Mp4,
         .entryText = entry(QT_TRANSLATE_NOOP("ConversionCombos", "MP4(H.264 通用格式)")),
         .cliName = u"h264"_s,
         .stageOne = Encoder::Coder,
         .stageOneFragments = modernFormat(u"libx264"_s, u"aac"_s),
         .extension = u".mp4"_s,
         .defaults = mp4Defaults},
        {.format = OutputFormat::HevcMp4,
         .entryText = entry(QT_TRANSLATE_NOOP("ConversionCombos", "MP4(H.265 高压缩)")),
         .cliName = u"hevc"_s,
         .stageOne = Encoder::Coder,
         .stageOneFragments = modernFormat(u"libx265"_s, u"aac"_s),
         .extension = u".mp4"_s,
         .defaults = mp4Defaults},
        // Opus is as good at 128 kbit/s as AAC at 160.
        {.format = OutputFormat::Vp9Webm,
         .entryText = entry(QT_TRANSLATE_NOOP("ConversionCombos", "WebM(VP9 网页格式)")),
         .cliName = u"webm"_s,
         .stageOne = Encoder::Coder,
         .stageOneFragments = modernFormat(u"libvpx-vp9"_s, u"libopus"_s),
         .extension = u".webm"_s,
         .defaults = {quality, sourceRate, sourceSize, u"48000"_s, u"128"_s, 1}},
    }};
}

const FormatTable &table()
{
    static const FormatTable formats = buildTable();
    return formats;
}

} // namespace

const FormatSpec &OutputFormats::of(OutputFormat format)
{
    return table().at(static_cast<std::size_t>(indexOf(format)));
}

std::optional<OutputFormat> OutputFormats::fromIndex(int index)
{
    if (index < 0 || index >= Count)
        return std::nullopt;
    return static_cast<OutputFormat>(index);
}

std::optional<OutputFormat> OutputFormats::fromCliName(const QString &name)
{
    for (const FormatSpec &format : table()) {
        if (name.compare(format.cliName, Qt::CaseInsensitive) == 0)
            return format.format;
    }
    return std::nullopt;
}

QStringList OutputFormats::entryTexts()
{
    QStringList texts;
    for (const FormatSpec &format : table())
        texts.append(format.entryText);
    return texts;
}
