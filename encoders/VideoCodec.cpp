#include "VideoCodec.h"

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

const QList<VideoCodec> &catalogue()
{
    // MPEG-2 can only signal the eight rates of its frame_rate_code;
    // ffmpeg's RealVideo 1.0 encoder codes whole macroblocks only, and fewer
    // than 4096 of them. RealMedia headers keep the rate as a whole number,
    // so a fractional rate would leave the timestamps out of step with it.
    static const QList<VideoCodec> codecs{
        {u"mpeg4"_s, 2, 0, {}},
        {u"mpeg2video"_s,
         2,
         0,
         {{24000, 1001},
          {24, 1},
          {25, 1},
          {30000, 1001},
          {30, 1},
          {50, 1},
          {60000, 1001},
          {60, 1}}},
        {u"rv10"_s, 16, 4095, {}, true},
    };
    return codecs;
}

constexpr int MacroblockSide = 16;
// How many multiples either side of the wanted width are tried for a size
// that keeps the shape.
constexpr int ShapeSearchSteps = 4;

int nearestMultiple(int value, int multiple)
{
    const int below = value / multiple * multiple;
    const int nearest = value - below > multiple / 2 ? below + multiple : below;
    return std::max(nearest, multiple);
}

int lowerMultiple(double value, int multiple)
{
    return std::max(static_cast<int>(value) / multiple * multiple, multiple);
}

int macroblocks(QSize size)
{
    const auto blocks = [](int side) { return (side + MacroblockSide - 1) / MacroblockSide; };
    return blocks(size.width()) * blocks(size.height());
}

} // namespace

VideoCodec::VideoCodec(QString name, int sizeMultiple, int maxMacroblocks,
                       QList<FrameRate> frameRates, bool wholeRatesOnly)
    : m_name(std::move(name)), m_sizeMultiple(sizeMultiple), m_maxMacroblocks(maxMacroblocks),
      m_frameRates(std::move(frameRates)), m_wholeRatesOnly(wholeRatesOnly)
{
}

const VideoCodec *VideoCodec::find(const QString &name)
{
    const QList<VideoCodec> &codecs = catalogue();
    const auto match = std::find_if(codecs.begin(), codecs.end(),
                                    [&](const VideoCodec &codec) { return codec.m_name == name; });
    return match == codecs.end() ? nullptr : &*match;
}

QStringList VideoCodec::allEncoders()
{
    QStringList encoders;
    for (const VideoCodec &codec : catalogue())
        encoders.append(codec.encoder());
    return encoders;
}

QSize VideoCodec::sizeFor(QSize wanted) const
{
    const QSize rounded(nearestMultiple(wanted.width(), m_sizeMultiple),
                        nearestMultiple(wanted.height(), m_sizeMultiple));
    if (m_maxMacroblocks == 0 || macroblocks(rounded) <= m_maxMacroblocks)
        return rounded;
    const double scale = std::sqrt(static_cast<double>(m_maxMacroblocks) * MacroblockSide *
                                   MacroblockSide / (wanted.width() * wanted.height()));
    return {lowerMultiple(wanted.width() * scale, m_sizeMultiple),
            lowerMultiple(wanted.height() * scale, m_sizeMultiple)};
}

QSize VideoCodec::sizeKeepingShape(QSizeF wanted) const
{
    const double blocks = wanted.width() * wanted.height() / (MacroblockSide * MacroblockSide);
    if (m_maxMacroblocks > 0 && blocks > m_maxMacroblocks)
        wanted *= std::sqrt(m_maxMacroblocks / blocks);
    const double shape = wanted.width() / wanted.height();
    const double area = wanted.width() * wanted.height();
    const int centre =
        nearestMultiple(static_cast<int>(std::lround(wanted.width())), m_sizeMultiple);
    QSize best;
    double bestMiss = 0.0;
    double bestAreaMiss = 0.0;
    for (int step = -ShapeSearchSteps; step <= ShapeSearchSteps; ++step) {
        const int width = centre + step * m_sizeMultiple;
        if (width < m_sizeMultiple)
            continue;
        const QSize size(
            width, nearestMultiple(static_cast<int>(std::lround(width / shape)), m_sizeMultiple));
        if (m_maxMacroblocks > 0 && macroblocks(size) > m_maxMacroblocks)
            continue;
        const double miss = std::abs(static_cast<double>(size.width()) / size.height() / shape - 1);
        const double areaMiss = std::abs(size.width() * size.height() - area);
        const bool fits = miss <= ShapeTolerance;
        const bool bestFits = !best.isEmpty() && bestMiss <= ShapeTolerance;
        const bool better =
            best.isEmpty() || (fits && !bestFits) ||
            (fits == bestFits && (fits ? areaMiss < bestAreaMiss : miss < bestMiss));
        if (better) {
            best = size;
            bestMiss = miss;
            bestAreaMiss = areaMiss;
        }
    }
    return best.isEmpty() ? sizeFor(wanted.toSize()) : best;
}

QStringList VideoCodec::lowDelayOptions() const
{
    return m_name == u"mpeg2video" ? QStringList{u"-flags"_s, u"+low_delay"_s} : QStringList{};
}

FrameRate VideoCodec::frameRateFor(double wanted) const
{
    const double bounded = std::clamp(wanted, MinFrameRate, MaxFrameRate);
    if (m_wholeRatesOnly)
        return {static_cast<int>(std::lround(bounded)), 1};
    if (m_frameRates.isEmpty())
        return FrameRate::fromDecimal(bounded);
    FrameRate best = m_frameRates.first();
    for (const FrameRate &rate : m_frameRates) {
        const double distance = std::abs(rate.value() - wanted);
        const double bestDistance = std::abs(best.value() - wanted);
        if (distance < bestDistance || (distance == bestDistance && rate.value() > best.value()))
            best = rate;
    }
    return best;
}
