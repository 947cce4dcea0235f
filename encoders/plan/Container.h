#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// An output container: the ffmpeg muxer that writes it, how a probe
// recognises it, the codecs it can hold and the ones it gets when the
// command names none.
class Container final
{
public:
    struct Choice
    {
        const Container *container = nullptr;
        QString error;
    };

    // The output file's extension decides whenever the format asked for is
    // unknown, contradicts the extension or cannot hold the codecs; among the
    // containers an extension allows, the first that holds the codecs wins.
    // Empty codec names stand for "whatever the container usually holds".
    static Choice choose(const QString &requested, const QString &outputPath,
                         const QString &videoCodec, const QString &audioCodec);

    QString muxer() const { return m_traits.names.first(); }
    // What the muxer is told besides its name.
    QStringList muxerOptions() const { return m_traits.muxerOptions; }
    // One of the names in the demuxer's name list for this container.
    QString probeName() const { return m_traits.probeName; }
    // Prefix of the major brand ISO-based containers carry.
    QString brand() const { return m_traits.brand; }
    bool carriesVideo() const { return !m_traits.videoCodecs.isEmpty(); }
    QString defaultVideoCodec() const { return m_traits.videoCodecs.value(0); }
    QString defaultAudioCodec() const { return m_traits.audioCodecs.value(0); }
    // The largest video frame the container can carry, 0 when unlimited.
    int maxVideoFrameBytes() const { return m_traits.maxVideoFrameBytes; }
    // Whether non-square pixels are recorded; without that a player shows
    // every pixel square.
    bool keepsPixelAspect() const { return m_traits.keepsPixelAspect; }
    // Whether each picture carries its own time, so that a variable frame
    // rate is kept as it is; other containers time pictures by their count.
    bool storesFrameTimes() const { return m_traits.storesFrameTimes; }
    // The lowest sample rate the container takes for an audio codec, 0 when
    // the codec's own rates all fit.
    int lowestSampleRate(const QString &audioCodec) const
    {
        return m_traits.lowestSampleRates.value(audioCodec);
    }

    struct Traits
    {
        QStringList names{}; // the first is the muxer
        QStringList extensions{};
        QString probeName{};
        QString brand{};
        QStringList videoCodecs{}; // the first is the default
        QStringList audioCodecs{}; // the first is the default
        int maxVideoFrameBytes = 0;
        bool keepsPixelAspect = true;
        bool storesFrameTimes = false;
        QHash<QString, int> lowestSampleRates{};
        QStringList muxerOptions{};
    };
    explicit Container(Traits traits) : m_traits(std::move(traits)) {}

private:
    bool canHold(const QString &videoCodec, const QString &audioCodec) const;

    Traits m_traits;
};
