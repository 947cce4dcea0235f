#include "encoders/plan/TextSubtitleFilter.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// Plain text subtitles (SubRip, WebVTT, tracks without styles) in a face
// that has every CJK character, with an outline that reads on any
// background. The text is a share of the picture's height, but never so
// small that a phone-sized picture's characters lose their strokes; libass
// scales the size from a script 288 lines high.
constexpr double TextShareOfHeight = 0.06;
constexpr double MinTextPixels = 14.0;
constexpr double LibassScriptHeight = 288.0;

QString plainTextStyle(int pictureHeight)
{
    const double pixels = std::max(MinTextPixels, pictureHeight * TextShareOfHeight);
    const long size = std::lround(pixels * LibassScriptHeight / pictureHeight);
    return u"FontName=Noto Sans CJK SC,FontSize=%1,Outline=1.2,Shadow=0.5,MarginV=14"_s.arg(size);
}

// A filter option's value as a filter graph reads it: escaped once for the
// option list and once more for the graph around it.
QString escapedFilterValue(QString value)
{
    static const QRegularExpression optionSpecial(u"(?=[\\\\':])"_s);
    static const QRegularExpression graphSpecial(u"(?=[\\\\'\\[\\],;])"_s);
    return value.replace(optionSpecial, u"\\"_s).replace(graphSpecial, u"\\"_s);
}

} // namespace

// libass times the text by the picture's timestamps, which start at the
// cut's start (and without the input's own start time), so the picture is
// shifted back onto the subtitles' clock while they are drawn.
QString TextSubtitleFilter::build(const BurnedSubtitles &subtitles, const MediaInfo &input,
                                  const EncodeRequest &request, int pictureHeight)
{
    double offset = request.cut.startSeconds;
    QString source = u"subtitles=filename="_s;
    if (subtitles.kind == BurnedSubtitles::Kind::File) {
        source += escapedFilterValue(subtitles.file);
    } else {
        offset += input.startSeconds.value_or(0.0);
        const auto track = std::find_if(
            input.subtitleTracks.begin(), input.subtitleTracks.end(),
            [&](const MediaInfo::Subtitle &each) { return each.index == subtitles.track.index; });
        source += escapedFilterValue(request.input) + u":si="_s +
                  QString::number(track - input.subtitleTracks.begin());
    }
    if (!subtitles.keepsStyles())
        source += u":force_style="_s + escapedFilterValue(plainTextStyle(pictureHeight));
    if (offset == 0.0)
        return source;
    const QString shift = QString::number(offset, 'f', 3);
    return u"setpts=PTS+%1/TB,%2,setpts=PTS-%1/TB"_s.arg(shift, source);
}
