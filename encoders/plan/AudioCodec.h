#pragma once

#include <QList>
#include <QString>

// An audio codec the encoders can write, with the sample rates, bitrates
// and channel counts its ffmpeg encoder accepts. Requests outside them are
// moved to the nearest accepted value instead of failing the conversion.
class AudioCodec final
{
public:
    struct BitrateTier
    {
        int minSampleRate;
        QList<int> bitsPerSecond; // empty: any rate is accepted
    };

    // By the codec name a probe reports or by the ffmpeg encoder's name.
    static const AudioCodec *find(const QString &name);

    QString name() const { return m_name; }
    QString encoder() const { return m_encoder; }

    // The nearest rate the codec takes, among those at or above lowest when
    // the container refuses the others.
    int sampleRateFor(int requested, int lowest = 0) const;
    int channelsFor(int requested) const;
    qint64 bitrateFor(qint64 requested, int sampleRate) const;

    AudioCodec(QString name, QString encoder, QList<int> sampleRates, int maxChannels,
               QList<BitrateTier> tiers);

private:
    QString m_name;
    QString m_encoder;
    QList<int> m_sampleRates;
    int m_maxChannels;
    QList<BitrateTier> m_tiers; // highest minimum sample rate first
};
