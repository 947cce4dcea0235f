#pragma once

#include <QLatin1StringView>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <optional>

// What is chosen for every job of a batch besides its format and the
// format's parameters. The window's options and zenvora-cli's command line
// fill it as one value. The batch reads how many files it converts at once,
// the cut goes on each stage's command line in the option style of its
// encoder, and the subtitles and the sound track reach the encoders in the
// environment they are started in, written and read back here alone.
struct JobChoices
{
    // Which subtitles are burned into the picture.
    struct Subtitles
    {
        enum class Kind
        {
            Auto, // a subtitle file beside the source, else its default or forced track
            Off,
            File
        };
        Kind kind = Kind::Auto;
        QString file; // the subtitle file's path, for Kind::File

        // "auto", "off" or the file's path; a file choice without a path is
        // no choice of a file, so it reads "auto".
        QString text() const;
        // The words "auto" and "off" exactly; any other text is a file's path.
        static Subtitles fromText(const QString &text);

        friend bool operator==(const Subtitles &, const Subtitles &) = default;
    };

    // Which sound track is converted: the one the source flags as default
    // (else its first), one by its number, or the first in a language.
    struct AudioTrack
    {
        int number = 0;   // counting the source's sound tracks from 1; 0 when not by number
        QString language; // a language code such as "chi" or "eng"; empty when not by language

        static AudioTrack byNumber(int number) { return {number, {}}; }
        static AudioTrack byLanguage(const QString &language) { return {0, language}; }
        bool isDefault() const { return number <= 0 && language.isEmpty(); }

        // "2", "chi", or empty for the default.
        QString text() const;
        // A track number as a plain positive decimal ("007" is track 7), or
        // a language code of two or three ASCII letters, lower-cased; nothing
        // for any other text, the empty one included.
        static std::optional<AudioTrack> fromText(const QString &text);

        friend bool operator==(const AudioTrack &, const AudioTrack &) = default;
    };

    // The part of every source converted, in whole seconds from its start;
    // an end of 0 converts to the end of the source.
    struct Cut
    {
        qint32 fromSeconds = 0;
        qint32 toSeconds = 0;

        bool cuts() const { return fromSeconds > 0 || toSeconds > 0; }
    };

    Subtitles subtitles;
    AudioTrack audioTrack;
    Cut cut;
    int filesAtOnce = 1; // how many files the batch converts side by side

    // The music cutter's times as they apply: a negative start is the
    // source's start, and an end not after the start is the source's end.
    void setCut(qint32 fromSeconds, qint32 toSeconds);

    // The variables the encoders read the subtitles and the sound track
    // from. The subtitles are always written, the sound track unless it is
    // the default; a value inherited from elsewhere never stands in for the
    // job's own.
    static constexpr QLatin1StringView SubtitlesVariable{"ZENVORA_SUBTITLES"};
    static constexpr QLatin1StringView AudioTrackVariable{"ZENVORA_AUDIO_TRACK"};
    void writeTo(QProcessEnvironment &environment) const;
    // What an encoder reads: unset or empty variables are the defaults, so
    // a command line run by hand converts as the program would. A sound
    // track in no form the program writes leaves the default track, and
    // notes says so.
    static JobChoices readFrom(const QProcessEnvironment &environment, QStringList &notes);
};
