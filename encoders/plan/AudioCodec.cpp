#include "encoders/plan/AudioCodec.h"

#include "encoders/plan/NearestValue.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

QList<int> kilobits(std::initializer_list<int> values)
{
    QList<int> bits;
    for (const int value : values)
        bits.append(value * 1000);
    return bits;
}

const QList<AudioCodec> &catalogue()
{
    // MPEG audio allows other bitrates at half and quarter sample rates;
    // AMR-NB has eight fixed modes and a single rate. Opus codes at five
    // rates; beyond stereo it needs channel mappings WebM players differ on.
    static const QList<AudioCodec> codecs{
        {u"mp2"_s,
         u"mp2"_s,
         {16000, 22050, 24000, 32000, 44100, 48000},
         2,
         {{32000, kilobits({32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384})},
          {0, kilobits({8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160})}}},
        {u"mp3"_s,
         u"libmp3lame"_s,
         {8000, 11025, 12000, 16000, 22050, 24000, 32000, 44100, 48000},
         2,
         {{32000, kilobits({32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320})},
          {16000, kilobits({8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160})},
          {0, kilobits({8, 16, 24, 32, 40, 48, 56, 64})}}},
        {u"ac3"_s,
         u"ac3"_s,
         {32000, 44100, 48000},
         6,
         {{0, kilobits({32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 448,
                        512, 576, 640})}}},
        {u"aac"_s,
         u"aac"_s,
         {8000, 11025, 12000, 16000, 22050, 24000, 32000, 44100, 48000, 64000, 88200, 96000},
         8,
         {{0, {}}}},
        {u"amr_nb"_s,
         u"libopencore_amrnb"_s,
         {8000},
         1,
         {{0, {4750, 5150, 5900, 6700, 7400, 7950, 10200, 12200}}}},
        {u"opus"_s, u"libopus"_s, {8000, 12000, 16000, 24000, 48000}, 2, {{0, {}}}},
    };
    return codecs;
}

} // namespace

AudioCodec::AudioCodec(QString name, QString encoder, QList<int> sampleRates, int maxChannels,
                       QList<BitrateTier> tiers)
    : m_name(std::move(name)), m_encoder(std::move(encoder)), m_sampleRates(std::move(sampleRates)),
      m_maxChannels(maxChannels), m_tiers(std::move(tiers))
{
}

const AudioCodec *AudioCodec::find(const QString &name)
{
    const QList<AudioCodec> &codecs = catalogue();
    const auto match = std::find_if(codecs.begin(), codecs.end(), [&](const AudioCodec &codec) {
        return codec.m_name == name || codec.m_encoder == name;
    });
    return match == codecs.end() ? nullptr : &*match;
}

int AudioCodec::sampleRateFor(int requested, int lowest) const
{
    QList<int> allowed;
    std::copy_if(m_sampleRates.begin(), m_sampleRates.end(), std::back_inserter(allowed),
                 [lowest](int rate) { return rate >= lowest; });
    return NearestValue::in(allowed.isEmpty() ? m_sampleRates : allowed, requested);
}

int AudioCodec::channelsFor(int requested) const
{
    return std::clamp(requested, 1, m_maxChannels);
}

qint64 AudioCodec::bitrateFor(qint64 requested, int sampleRate) const
{
    for (const BitrateTier &tier : m_tiers) {
        if (sampleRate < tier.minSampleRate)
            continue;
        return tier.bitsPerSecond.isEmpty() ? requested
                                            : NearestValue::in(tier.bitsPerSecond, requested);
    }
    return requested;
}
