#include "encoders/plan/VideoCodec.h"

#include "encoders/plan/NearestValue.h"

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
    //
    // Today's codecs get 8-bit 4:2:0 whatever the source, the one form every
    // player decodes, and presets measured (bench/modern_formats) to encode
    // at least as fast as the encoders' default presets at no lower SSIM:
    // the quality targets sit at or a little above the defaults' so that a
    // faster preset loses nothing. x264 chooses the lowest level the size
    // and rate need. Apple players take HEVC in MP4 only under the hvc1 tag.
    // libx265 corrupts its heap on pictures narrower or lower than its
    // largest coding block, 64 pixels.
    static const QList<VideoCodec> codecs{
        VideoCodec({.name = u"mpeg4"_s}),
        VideoCodec({.name = u"mpeg2video"_s,
                    .frameRates = {{24000, 1001},
                                   {24, 1},
                                   {25, 1},
                                   {30000, 1001},
                                   {30, 1},
                                   {50, 1},
                                   {60000, 1001},
                                   {60, 1}}}),
        VideoCodec({.name = u"rv10"_s,
                    .sizeMultiple = 16,
                    .maxMacroblocks = 4095,
                    .wholeRatesOnly = true}),
        VideoCodec({.name = u"h264"_s,
                    .encoder = u"libx264"_s,
                    .pixelFormat = u"yuv420p"_s,
                    .encoderOptions = {u"-preset"_s, u"faster"_s, u"-profile:v"_s, u"high"_s},
                    .qualityOptions = {u"-crf"_s, u"23"_s}}),
        VideoCodec({.name = u"hevc"_s,
                    .encoder = u"libx265"_s,
                    .pixelFormat = u"yuv420p"_s,
                    .tag = u"hvc1"_s,
                    .encoderOptions = {u"-preset"_s, u"fast"_s, u"-profile:v"_s, u"main"_s,
                                       u"-x265-params"_s, u"log-level=error"_s},
                    .qualityOptions = {u"-crf"_s, u"26"_s},
                    .minimumSide = 64,
                    .croppingFilter = u"hevc_metadata"_s}),
        VideoCodec({.name = u"vp9"_s,
                    .encoder = u"libvpx-vp9"_s,
                    .pixelFormat = u"yuv420p"_s,
                    .encoderOptions = {u"-deadline"_s, u"good"_s, u"-cpu-used"_s, u"2"_s,
                                       u"-row-mt"_s, u"1"_s},
                    .qualityOptions = {u"-crf"_s, u"29"_s, u"-b:v"_s, u"0"_s}}),
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

const VideoCodec *VideoCodec::find(const QString &name)
{
    const QList<VideoCodec> &codecs = catalogue();
    const auto match = std::find_if(codecs.begin(), codecs.end(), [&](const VideoCodec &codec) {
        return codec.name() == name || codec.encoder() == name;
    });
    return match == codecs.end() ? nullptr : &*match;
}

QSize VideoCodec::sizeFor(QSize wanted) const
{
    const QSize rounded(nearestMultiple(wanted.width(), m_traits.sizeMultiple),
                        nearestMultiple(wanted.height(), m_traits.sizeMultiple));
    if (m_traits.maxMacroblocks == 0 || macroblocks(rounded) <= m_traits.maxMacroblocks)
        return rounded;
    const double scale = std::sqrt(static_cast<double>(m_traits.maxMacroblocks) * MacroblockSide *
                                   MacroblockSide / (wanted.width() * wanted.height()));
    return {lowerMultiple(wanted.width() * scale, m_traits.sizeMultiple),
            lowerMultiple(wanted.height() * scale, m_traits.sizeMultiple)};
}

QSize VideoCodec::sizeKeepingShape(QSizeF wanted) const
{
    const double blocks = wanted.width() * wanted.height() / (MacroblockSide * MacroblockSide);
    if (m_traits.maxMacroblocks > 0 && blocks > m_traits.maxMacroblocks)
        wanted *= std::sqrt(m_traits.maxMacroblocks / blocks);
    const double shape = wanted.width() / wanted.height();
    const double area = wanted.width() * wanted.height();
    const int centre =
        nearestMultiple(static_cast<int>(std::lround(wanted.width())), m_traits.sizeMultiple);
    QSize best;
    double bestMiss = 0.0;
    double bestAreaMiss = 0.0;
    for (int step = -ShapeSearchSteps; step <= ShapeSearchSteps; ++step) {
        const int width = centre + step * m_traits.sizeMultiple;
        if (width < m_traits.sizeMultiple)
            continue;
        const QSize size(width, nearestMultiple(static_cast<int>(std::lround(width / shape)),
                                                m_traits.sizeMultiple));
        if (m_traits.maxMacroblocks > 0 && macroblocks(size) > m_traits.maxMacroblocks)
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
    return m_traits.name == u"mpeg2video" ? QStringList{u"-flags"_s, u"+low_delay"_s}
                                          : QStringList{};
}

FrameRate VideoCodec::frameRateFor(double wanted) const
{
    const double bounded = std::clamp(wanted, MinFrameRate, MaxFrameRate);
    if (m_traits.wholeRatesOnly)
        return {static_cast<int>(std::lround(bounded)), 1};
    if (m_traits.frameRates.isEmpty())
        return FrameRate::fromDecimal(bounded);
    return NearestValue::in(m_traits.frameRates, wanted, &FrameRate::value);
}
