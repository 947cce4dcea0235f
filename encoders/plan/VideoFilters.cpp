#include "encoders/plan/VideoFilters.h"

#include "encoders/plan/Container.h"
#include "encoders/plan/TextSubtitleFilter.h"
#include "encoders/plan/VideoCodec.h"

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

QString streamMap(int index)
{
    return u"0:"_s + QString::number(index);
}

// The largest picture of the shape (width over height) inside the frame,
// in even sizes; the whole frame when the shapes are the same.
QSize fitted(double shape, QSize frame)
{
    const auto even = [](double side) {
        return std::max(2, 2 * static_cast<int>(std::lround(side / 2)));
    };
    const double frameShape = static_cast<double>(frame.width()) / frame.height();
    if (std::abs(shape / frameShape - 1) <= VideoCodec::ShapeTolerance)
        return frame;
    if (shape > frameShape)
        return {frame.width(), std::min(frame.height(), even(frame.width() / shape))};
    return {std::min(frame.width(), even(frame.height() * shape)), frame.height()};
}

// The frame written and the picture inside it, and the pixel aspect the
// frame is tagged with.
struct Frame
{
    QSize size;
    QSize picture;
    QString pixelAspectFilter;
};

Frame frameFor(const EncodeRequest::Video &wanted, const VideoCodec &codec,
               const MediaInfo::Video &source, const Container &container)
{
    // ffmpeg turns a rotated picture upright before these filters, so sizes
    // follow the picture as shown.
    const QSize shown = source.shownSize();
    const MediaInfo::PixelAspect pixelAspect = source.shownPixelAspect();
    if (wanted.size) {
        // A size asked for is the frame; the picture keeps its shape inside
        // it, with black bars where the shapes differ.
        const QSize size = codec.sizeFor(*wanted.size);
        return {size, fitted(shown.width() * pixelAspect.value() / shown.height(), size),
                u"setsar=1"_s};
    }
    if (container.keepsPixelAspect()) {
        const QSize size = codec.sizeKeepingShape(shown);
        return {size, size, u"setsar="_s + pixelAspect.toString()};
    }
    const QSize size =
        codec.sizeKeepingShape(QSizeF(shown.width() * pixelAspect.value(), shown.height()));
    return {size, size, u"setsar=1"_s};
}

QString bars(QSize picture, QSize frame)
{
    return u"pad=%1:%2:%3:%4:black"_s.arg(frame.width())
        .arg(frame.height())
        .arg((frame.width() - picture.width()) / 2 / 2 * 2)
        .arg((frame.height() - picture.height()) / 2 / 2 * 2);
}

// HDR pictures brought to SDR's range and colours: into linear light at
// SDR's 100-nit white, to BT.709's primaries, a filmic curve for the
// highlights, then BT.709's transfer and matrix. The source's primaries and
// matrix are those of HDR video when it does not state them.
QString toneMapping(const MediaInfo::Video &source)
{
    QString linear = u"zscale=tin="_s + source.colourTransfer;
    linear +=
        u":pin="_s + (source.colourPrimaries.isEmpty() ? u"bt2020"_s : source.colourPrimaries);
    linear += u":min="_s + (source.colourMatrix.isEmpty() ? u"bt2020nc"_s : source.colourMatrix);
    return linear + u":t=linear:npl=100,format=gbrpf32le,zscale=p=bt709,"
                    u"tonemap=tonemap=hable:desat=0,zscale=t=bt709:m=bt709:r=tv,format=yuv420p"_s;
}

// What the picture needs before anything else: fields woven into frames
// and HDR brought to SDR. A stream that does not say whether it is
// interlaced is looked at frame by frame, and only the frames that show
// combing are deinterlaced. Fields go to 4:2:0 each on its own before they
// are woven: converting the woven frame's chroma afterwards mixes the two
// fields' chroma lines and combs the colours again.
QStringList pictureRepairs(const MediaInfo::Video &source)
{
    QStringList filters;
    if (source.isInterlaced())
        filters << u"scale=interl=1"_s << u"format=yuv420p"_s << u"bwdif=mode=send_frame"_s;
    else if (source.fieldOrder.isEmpty())
        filters << u"idet"_s << u"scale=interl=-1"_s << u"format=yuv420p"_s
                << u"bwdif=mode=send_frame:deint=interlaced"_s;
    if (source.isHighDynamicRange())
        filters << toneMapping(source);
    return filters;
}

// Subtitle tracks of pictures are laid over the picture; text is drawn
// into it.
std::optional<int> overlaidTrack(const std::optional<BurnedSubtitles> &subtitles)
{
    if (subtitles && subtitles->kind == BurnedSubtitles::Kind::Track && subtitles->track.isBitmap)
        return subtitles->track.index;
    return std::nullopt;
}

// One chain for the picture, or a graph that lays a picture subtitle track
// over it: on the source's own canvas, which the subtitles are made for,
// after the repairs and before anything changes its size.
QStringList mapped(int sourceIndex, const QStringList &repairs, const QStringList &chain,
                   std::optional<int> overlaidIndex)
{
    if (!overlaidIndex)
        return {u"-map"_s, streamMap(sourceIndex), u"-vf"_s, (repairs + chain).join(u',')};
    const QString graph =
        u"[%1]%2[picture];[%3][picture]scale2ref[subtitles][base];"
        u"[base][subtitles]overlay=eof_action=pass,%4[out]"_s.arg(
            streamMap(sourceIndex), repairs.isEmpty() ? u"null"_s : repairs.join(u','),
            streamMap(*overlaidIndex), chain.join(u','));
    return {u"-filter_complex"_s, graph, u"-map"_s, u"[out]"_s};
}

} // namespace

VideoFilters::VideoFilters(const EncodeRequest &request, const MediaInfo &input,
                           const VideoCodec &codec, const Container &container,
                           std::optional<FrameRate> frameRate,
                           const std::optional<BurnedSubtitles> &subtitles)
{
    const MediaInfo::Video &source = *input.video;
    const Frame frame = frameFor(request.video, codec, source, container);
    m_size = frame.size;
    QStringList chain{u"scale=%1:%2"_s.arg(frame.picture.width()).arg(frame.picture.height())};
    // Text is drawn at the picture's final size, so it is sharp and sized
    // for it, and inside the picture rather than on the bars.
    const std::optional<int> overlaid = overlaidTrack(subtitles);
    if (subtitles && !overlaid)
        chain << TextSubtitleFilter::build(*subtitles, input, request, frame.picture.height());
    if (frame.picture != frame.size)
        chain << bars(frame.picture, frame.size);
    chain << frame.pixelAspectFilter;
    // A fixed rate is made by the filter, which shows the last picture for
    // its whole duration; ffmpeg's own rate conversion ends the output on
    // it and can repeat its timestamp.
    if (frameRate)
        chain << u"fps="_s + frameRate->toString();
    padForCodec(codec, chain);
    // Converted last, so that scaling works on the source's full precision.
    if (!codec.pixelFormat().isEmpty())
        chain << u"format="_s + codec.pixelFormat();
    m_arguments = mapped(source.index, pictureRepairs(source), chain, overlaid);
}

// A frame smaller than the codec codes safely is coded padded at its right
// and bottom, and the bitstream tells decoders to show only the frame.
void VideoFilters::padForCodec(const VideoCodec &codec, QStringList &chain)
{
    const QSize coded(std::max(m_size.width(), codec.minimumSide()),
                      std::max(m_size.height(), codec.minimumSide()));
    if (coded == m_size)
        return;
    chain << u"pad=%1:%2:0:0:black"_s.arg(coded.width()).arg(coded.height());
    m_cropBack << u"-bsf:v"_s
               << u"%1=crop_right=%2:crop_bottom=%3"_s.arg(codec.croppingFilter())
                      .arg(coded.width() - m_size.width())
                      .arg(coded.height() - m_size.height());
}
