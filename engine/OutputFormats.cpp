#include "OutputFormats.h"

#include "ConversionSettings.h"

#include <array>

using namespace Qt::StringLiterals;

namespace {

using FormatTable = std::array<FormatSpec, OutputFormats::Count>;

FormatTable buildTable()
{
    const QString sourceSize = ConversionSettings::SourceSize.toString();
    const FormatDefaults highBitrate{u"1200"_s, u"29"_s, sourceSize, u"44100"_s, u"320"_s, 1};
    const FormatDefaults mpeg2{u"600"_s, u"24"_s, sourceSize, u"28000"_s, u"64"_s, 1};
    // Phones of the day wanted small pictures and mono AMR sound.
    const FormatDefaults mobile{u"128"_s, u"29"_s, u"320x240"_s, u"8000"_s, u"12.2"_s, 0};
    return {{
        {OutputFormat::Rmvb, u"RMVB(RealPlayerRMVB)"_s, Encoder::Conv, Encoder::Coder, u".rmvb"_s,
         highBitrate},
        {OutputFormat::Rm, u"RM(RealPlayerRM)"_s, Encoder::Conv, Encoder::Coder, u".rm"_s,
         highBitrate},
        {OutputFormat::Mpg, u"MPG(MPEG2)"_s, Encoder::Conv, std::nullopt, u".mpg"_s, mpeg2},
        {OutputFormat::Avi, u"AVI(Windows Media Player格式)"_s, Encoder::Conv, std::nullopt,
         u".avi"_s, mpeg2},
        {OutputFormat::Mp4HighQuality,
         u"MP4(高清MPEG4格式)"_s,
         Encoder::Conv,
         std::nullopt,
         u".mp4"_s,
         {u"1200"_s, u"29"_s, sourceSize, u"48000"_s, u"320"_s, 1}},
        {OutputFormat::Mov,
         u"MOV(QuickTime格式)"_s,
         Encoder::Conv,
         Encoder::Coder,
         u".mov"_s,
         {u"256"_s, u"29"_s, sourceSize, u"48000"_s, u"64"_s, 1}},
        {OutputFormat::Mp4Mobile, u"MP4(手机MP4格式)"_s, Encoder::Conv, Encoder::Coder2, u".mp4"_s,
         mobile},
        {OutputFormat::ThreeGpMobile, u"3GP(手机3GP格式)"_s, Encoder::Conv, Encoder::Coder2,
         u".3gp"_s, mobile},
        // An audio-only target leaves the picture settings as the user had them.
        {OutputFormat::Mp3Audio,
         u"MP3(纯音频格式)"_s,
         Encoder::Coder,
         std::nullopt,
         u".mp3"_s,
         {std::nullopt, std::nullopt, std::nullopt, u"48000"_s, u"320"_s, 1}},
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

QStringList OutputFormats::entryTexts()
{
    QStringList texts;
    for (const FormatSpec &format : table())
        texts.append(format.entryText);
    return texts;
}
