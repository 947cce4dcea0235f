#include "engine/ConvProgressParser.h"

#include "encoders/protocol/EncoderProtocol.h"
#include "engine/ActivityIndicator.h"
#include "engine/TextNumber.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array<qsizetype, 2> GroupLengths{3, 4};
constexpr qsizetype LongestGroup = 4;

bool closesAfter(QStringView text, qsizetype open, qsizetype length)
{
    const qsizetype close = open + length + 1;
    return close < text.size() && text.at(close) == EncoderProtocol::PercentClose;
}

std::optional<QStringView> firstGroup(QStringView text)
{
    for (qsizetype open = 0; open < text.size(); ++open) {
        if (text.at(open) != EncoderProtocol::PercentOpen)
            continue;
        for (const qsizetype length : GroupLengths) {
            if (closesAfter(text, open, length))
                return text.sliced(open + 1, length);
        }
    }
    return std::nullopt;
}

// An opening parenthesis so near the end that its group may still close in
// the next chunk; the text from there on is kept for that chunk.
qsizetype unfinishedGroupStart(QStringView text)
{
    for (qsizetype open = std::max<qsizetype>(0, text.size() - LongestGroup - 1);
         open < text.size(); ++open) {
        if (text.at(open) == EncoderProtocol::PercentOpen &&
            !closesAfter(text, open, GroupLengths.front()))
            return open;
    }
    return text.size();
}

} // namespace

ConvProgressParser::ConvProgressParser(ActivityIndicator &indicator) : m_indicator(indicator) {}

std::optional<Progress> ConvProgressParser::feed(QStringView chunk)
{
    QString text = m_tail;
    text += chunk;
    m_tail = text.sliced(unfinishedGroupStart(text));
    ++m_indicator.turns;
    const std::optional<QStringView> group = firstGroup(text);
    if (!group)
        return std::nullopt;
    return progressFor(*group);
}

Progress ConvProgressParser::progressFor(QStringView group) const
{
    Progress progress{.style = EncoderStyle::Conv, .activity = m_indicator.turns};
    progress.finished = group == EncoderProtocol::FinishedPercent;
    // Encoders sometimes print numbers outside the bar's range.
    const double percent =
        std::clamp(TextNumber::roundHalfEven(TextNumber::read(group)), 0.0, 100.0);
    // Going through the 15-digit text turns 0.07 * 100 into 7, not 7.000000000000001.
    const double fraction = TextNumber::read(TextNumber::write(percent / 100));
    progress.percent = TextNumber::read(TextNumber::write(fraction * 100));
    return progress;
}
