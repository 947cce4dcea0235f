#include "encoders/plan/OutputExpectation.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

QString sizeText(QSize size)
{
    return u"%1x%2"_s.arg(size.width()).arg(size.height());
}

QString videoMismatch(const MediaInfo::Video &expected,
                      const std::optional<MediaInfo::Video> &found)
{
    if (!found)
        return u"it has no video stream"_s;
    if (found->codec != expected.codec)
        return u"its video is %1, not %2"_s.arg(found->codec, expected.codec);
    if (found->size != expected.size)
        return u"its picture is %1, not %2"_s.arg(sizeText(found->size), sizeText(expected.size));
    return {};
}

QString audioMismatch(const MediaInfo::Audio &expected,
                      const std::optional<MediaInfo::Audio> &found)
{
    if (!found)
        return u"it has no audio stream"_s;
    if (found->codec != expected.codec)
        return u"its audio is %1, not %2"_s.arg(found->codec, expected.codec);
    if (found->sampleRate != expected.sampleRate || found->channels != expected.channels)
        return u"its audio has %1 Hz and %2 channels, not %3 Hz and %4"_s.arg(found->sampleRate)
            .arg(found->channels)
            .arg(expected.sampleRate)
            .arg(expected.channels);
    return {};
}

} // namespace

QString OutputExpectation::mismatch(const MediaInfo &output) const
{
    if (!output.formatNames.contains(probeName))
        return u"it is not a %1 file"_s.arg(probeName);
    if (!output.majorBrand.startsWith(brand))
        return u"its brand is \"%1\", not \"%2\""_s.arg(output.majorBrand, brand);
    if (video) {
        if (const QString problem = videoMismatch(*video, output.video); !problem.isEmpty())
            return problem;
    }
    if (audio) {
        if (const QString problem = audioMismatch(*audio, output.audio); !problem.isEmpty())
            return problem;
    }
    // Only a short file is incomplete: a longer one comes from sources whose
    // duration was estimated, such as streams without timestamps.
    if (durationSeconds && output.durationSeconds &&
        *durationSeconds - *output.durationSeconds > durationTolerance(*durationSeconds))
        return u"it lasts %1 s instead of %2 s"_s.arg(*output.durationSeconds, 0, 'f', 2)
            .arg(*durationSeconds, 0, 'f', 2);
    return {};
}

double OutputExpectation::durationTolerance(double seconds)
{
    return std::max(1.0, seconds * 0.05);
}
