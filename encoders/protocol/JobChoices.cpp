#include "encoders/protocol/JobChoices.h"

#include <QRegularExpression>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

constexpr QLatin1StringView AutoWord{"auto"};
constexpr QLatin1StringView OffWord{"off"};

} // namespace

QString JobChoices::Subtitles::text() const
{
    switch (kind) {
    case Kind::Off:
        return OffWord;
    case Kind::File:
        if (!file.isEmpty())
            return file;
        break;
    case Kind::Auto:
        break;
    }
    return AutoWord;
}

JobChoices::Subtitles JobChoices::Subtitles::fromText(const QString &text)
{
    if (text == AutoWord)
        return {Kind::Auto, {}};
    if (text == OffWord)
        return {Kind::Off, {}};
    return {Kind::File, text};
}

QString JobChoices::AudioTrack::text() const
{
    if (!language.isEmpty())
        return language;
    return number > 0 ? QString::number(number) : QString();
}

std::optional<JobChoices::AudioTrack> JobChoices::AudioTrack::fromText(const QString &text)
{
    static const QRegularExpression digits(QRegularExpression::anchoredPattern(u"[0-9]+"_s));
    static const QRegularExpression languageCode(
        QRegularExpression::anchoredPattern(u"[A-Za-z]{2,3}"_s));
    if (digits.match(text).hasMatch()) {
        bool fits = false;
        const int number = text.toInt(&fits);
        return fits && number > 0 ? std::optional(byNumber(number)) : std::nullopt;
    }
    return languageCode.match(text).hasMatch() ? std::optional(byLanguage(text.toLower()))
                                               : std::nullopt;
}

void JobChoices::setCut(qint32 fromSeconds, qint32 toSeconds)
{
    cut.fromSeconds = std::max(fromSeconds, 0);
    cut.toSeconds = toSeconds > cut.fromSeconds ? toSeconds : 0;
}

void JobChoices::writeTo(QProcessEnvironment &environment) const
{
    environment.insert(SubtitlesVariable, subtitles.text());
    if (audioTrack.isDefault())
        environment.remove(AudioTrackVariable);
    else
        environment.insert(AudioTrackVariable, audioTrack.text());
}

JobChoices JobChoices::readFrom(const QProcessEnvironment &environment, QStringList &notes)
{
    JobChoices choices;
    const QString subtitles = environment.value(SubtitlesVariable);
    if (!subtitles.isEmpty())
        choices.subtitles = Subtitles::fromText(subtitles);
    const QString track = environment.value(AudioTrackVariable);
    if (track.isEmpty())
        return choices;
    if (const std::optional<AudioTrack> asked = AudioTrack::fromText(track))
        choices.audioTrack = *asked;
    else
        notes.append(u"%1 \"%2\" is neither a sound track's number from 1 nor a language code of "
                     u"2 or 3 letters; the input's default track is converted"_s.arg(
                         AudioTrackVariable, track));
    return choices;
}
