#include "engine/ConversionCombos.h"

#include "engine/ConversionSettings.h"
#include "engine/OutputFormats.h"

#include <array>

using namespace Qt::StringLiterals;

// Entries only ever join at the end of a list: settings files keep the
// audio combos' positions.
QStringList ConversionCombos::entries(ConversionCombo combo)
{
    static const std::array<QStringList, Count> combos{{
        OutputFormats::entryTexts(),
        {ConversionSettings::SourceSize.toString(), u"128x96"_s, u"160x120"_s, u"176x144"_s,
         u"320x180"_s, u"320x240"_s, u"352x288"_s, u"640x272"_s, u"480x480"_s, u"640x360"_s,
         u"640x480"_s, u"720x306"_s, u"720x320"_s},
        {u"40"_s, u"80"_s, u"120"_s, u"128"_s, u"256"_s, u"384"_s, u"512"_s, u"600"_s, u"640"_s,
         u"768"_s, u"800"_s, u"900"_s, u"1000"_s, u"1500"_s,
         ConversionSettings::QualityBitrate.toString()},
        {u"15"_s, u"23"_s, u"29"_s, ConversionSettings::SourceFrameRate.toString()},
        // "12050" rather than 11025 is what the list has always offered.
        {u"48000"_s, u"44100"_s, u"32000"_s, u"24000"_s, u"22050"_s, u"16000"_s, u"12050"_s,
         u"8000"_s},
        {u"10.2"_s, u"12.2"_s, u"32"_s, u"48"_s, u"56"_s, u"64"_s, u"80"_s, u"96"_s, u"112"_s,
         u"128"_s, u"192"_s, u"224"_s, u"256"_s, u"320"_s, u"160"_s},
        {u"单声道"_s, u"双声道"_s},
    }};
    return combos.at(static_cast<std::size_t>(combo));
}

ConversionCombo ConversionCombos::of(Parameter parameter)
{
    return static_cast<ConversionCombo>(1 + parameterIndex(parameter));
}

std::optional<Parameter> ConversionCombos::parameterOf(ConversionCombo combo)
{
    if (combo == ConversionCombo::Format)
        return std::nullopt;
    return AllParameters.at(static_cast<std::size_t>(combo) - 1);
}
