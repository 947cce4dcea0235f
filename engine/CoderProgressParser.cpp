#include "engine/CoderProgressParser.h"

#include "encoders/protocol/EncoderProtocol.h"
#include "engine/ActivityIndicator.h"
#include "engine/TextNumber.h"

#include <algorithm>
#include <cmath>

namespace {

bool endsValue(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

struct KeywordValues
{
    QList<QStringView> complete; // values followed by a blank or line end
    qsizetype unfinishedAt = 0;  // where an incomplete keyword or value starts
};

// Where the text ends with the start of the keyword, or its size.
qsizetype partialKeywordStart(QStringView text, QLatin1StringView keyword)
{
    for (qsizetype length = std::min(keyword.size() - 1, text.size()); length > 0; --length) {
        if (text.endsWith(keyword.first(length)))
            return text.size() - length;
    }
    return text.size();
}

KeywordValues valuesAfter(QStringView text, QLatin1StringView keyword)
{
    KeywordValues found;
    qsizetype from = 0;
    for (qsizetype at = text.indexOf(keyword); at >= 0; at = text.indexOf(keyword, from)) {
        const qsizetype start = at + keyword.size();
        const auto end = std::find_if(text.begin() + start, text.end(), endsValue);
        if (end == text.end()) {
            found.unfinishedAt = at;
            return found;
        }
        from = end - text.begin();
        found.complete.append(text.sliced(start, from - start));
    }
    found.unfinishedAt = partialKeywordStart(text, keyword);
    return found;
}

// "HH:MM:SS.ss" in seconds, commas ignored; nothing unless the first three
// parts are numbers.
std::optional<double> clockSeconds(QStringView value)
{
    QString text = value.toString();
    text.remove(u',');
    const QStringList parts = text.split(u':');
    if (parts.size() < 3)
        return std::nullopt;
    const std::optional<double> hours = TextNumber::parse(parts.at(0));
    const std::optional<double> minutes = TextNumber::parse(parts.at(1));
    const std::optional<double> seconds = TextNumber::parse(parts.at(2));
    if (!hours || !minutes || !seconds)
        return std::nullopt;
    // The sign is written once, before the hours: "-00:00:01.00".
    const double magnitude = std::abs(*hours) * 3600 + *minutes * 60 + *seconds;
    return std::signbit(*hours) ? -magnitude : magnitude;
}

// Whole seconds; ffmpeg prints negative times while its decoders start up.
double elapsedSeconds(QStringView value)
{
    const double seconds =
        value.contains(u':') ? clockSeconds(value).value_or(0.0) : TextNumber::read(value);
    return std::max(0.0, TextNumber::roundHalfEven(seconds));
}

} // namespace

CoderProgressParser::CoderProgressParser(ActivityIndicator &indicator) : m_indicator(indicator) {}

std::optional<Progress> CoderProgressParser::feed(QStringView chunk)
{
    QString text = m_tail;
    text += chunk;
    const KeywordValues durations = valuesAfter(text, EncoderProtocol::DurationKey);
    const KeywordValues times = valuesAfter(text, EncoderProtocol::TimeKey);
    m_tail = text.sliced(std::min(durations.unfinishedAt, times.unfinishedAt));
    if (m_tail.size() > LongestKeptToken)
        m_tail.clear();

    if (m_duration == 0)
        takeDuration(durations.complete);
    ++m_indicator.turns;
    if (times.complete.isEmpty())
        return std::nullopt;
    // Each time supersedes the ones before it.
    return progressFor(elapsedSeconds(times.complete.last()));
}

void CoderProgressParser::reset()
{
    m_duration = 0;
    m_tail.clear();
}

void CoderProgressParser::takeDuration(const QList<QStringView> &values)
{
    for (const QStringView value : values) {
        if (const std::optional<double> seconds = clockSeconds(value)) {
            // Half a second or less rounds to 0, which stays "unknown".
            m_duration = std::max(0.0, TextNumber::roundHalfEven(*seconds));
            return;
        }
    }
}

Progress CoderProgressParser::progressFor(double elapsed) const
{
    Progress progress{.style = EncoderStyle::Coder,
                      .elapsedSeconds = elapsed,
                      .durationSeconds = m_duration,
                      .activity = m_indicator.turns};
    // Without a duration there is no telling how far the encoder got: the
    // time converted so far shows that it is working.
    if (m_duration == 0)
        return progress;
    const double fraction = TextNumber::read(TextNumber::write(elapsed / m_duration));
    progress.finished = fraction * 100 >= 100;
    progress.percent =
        progress.finished ? 100 : TextNumber::read(TextNumber::write(fraction * 100));
    return progress;
}
