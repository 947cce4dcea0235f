#include "encoders/plan/Container.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

const QList<Container> &catalogue()
{
    // MPEG-PS is written by the "vob" muxer, the one that writes MPEG-2 pack
    // headers. AMR-NB fits only the 3GP flavour of MP4, which therefore also
    // answers for ".mp4", after plain MP4. ffmpeg's RealMedia muxer refuses
    // packets of 64 KiB and more; the limit leaves room for packet headers.
    // The ISO containers refuse MP3 at the MPEG-2.5 rates below 16 kHz. An
    // MP4 with its index at the front plays while it downloads; so do its
    // 3GP and QuickTime kin.
    static const QHash<QString, int> noLowMp3{{u"mp3"_s, 16000}};
    static const QStringList faststart{u"-movflags"_s, u"+faststart"_s};
    static const QList<Container> containers{
        Container({.names = {u"vob"_s, u"mpeg"_s, u"mpg"_s},
                   .extensions = {u"mpg"_s, u"mpeg"_s, u"vob"_s},
                   .probeName = u"mpeg"_s,
                   .videoCodecs = {u"mpeg2video"_s},
                   .audioCodecs = {u"mp2"_s, u"mp3"_s}}),
        Container({.names = {u"avi"_s},
                   .extensions = {u"avi"_s},
                   .probeName = u"avi"_s,
                   .videoCodecs = {u"mpeg4"_s, u"mpeg2video"_s},
                   .audioCodecs = {u"mp3"_s, u"mp2"_s, u"ac3"_s}}),
        Container({.names = {u"mp4"_s},
                   .extensions = {u"mp4"_s, u"m4v"_s},
                   .probeName = u"mp4"_s,
                   .brand = u"isom"_s,
                   .videoCodecs = {u"mpeg4"_s, u"h264"_s, u"hevc"_s},
                   .audioCodecs = {u"aac"_s, u"mp3"_s},
                   .storesFrameTimes = true,
                   .lowestSampleRates = noLowMp3,
                   .muxerOptions = faststart}),
        Container({.names = {u"3gp"_s},
                   .extensions = {u"3gp"_s, u"mp4"_s},
                   .probeName = u"3gp"_s,
                   .brand = u"3gp"_s,
                   .videoCodecs = {u"mpeg4"_s},
                   .audioCodecs = {u"amr_nb"_s, u"aac"_s},
                   .storesFrameTimes = true,
                   .lowestSampleRates = noLowMp3,
                   .muxerOptions = faststart}),
        Container({.names = {u"mov"_s},
                   .extensions = {u"mov"_s},
                   .probeName = u"mov"_s,
                   .brand = u"qt"_s,
                   .videoCodecs = {u"mpeg4"_s},
                   .audioCodecs = {u"aac"_s, u"mp3"_s},
                   .storesFrameTimes = true,
                   .lowestSampleRates = noLowMp3,
                   .muxerOptions = faststart}),
        Container({.names = {u"rm"_s},
                   .extensions = {u"rm"_s, u"rmvb"_s},
                   .probeName = u"rm"_s,
                   .videoCodecs = {u"rv10"_s},
                   .audioCodecs = {u"ac3"_s},
                   .maxVideoFrameBytes = 60000,
                   .keepsPixelAspect = false}),
        Container({.names = {u"webm"_s},
                   .extensions = {u"webm"_s},
                   .probeName = u"webm"_s,
                   .videoCodecs = {u"vp9"_s},
                   .audioCodecs = {u"opus"_s},
                   .storesFrameTimes = true}),
        Container({.names = {u"mp3"_s},
                   .extensions = {u"mp3"_s},
                   .probeName = u"mp3"_s,
                   .audioCodecs = {u"mp3"_s}}),
    };
    return containers;
}

QString describe(const QString &videoCodec, const QString &audioCodec)
{
    QStringList codecs;
    if (!videoCodec.isEmpty())
        codecs.append(videoCodec + u" video"_s);
    if (!audioCodec.isEmpty())
        codecs.append(audioCodec + u" audio"_s);
    return codecs.join(u" with "_s);
}

} // namespace

Container::Choice Container::choose(const QString &requested, const QString &outputPath,
                                    const QString &videoCodec, const QString &audioCodec)
{
    const QString extension = QFileInfo(outputPath).suffix().toLower();
    const Container *asked = nullptr;
    QList<const Container *> byExtension;
    for (const Container &container : catalogue()) {
        if (container.m_traits.names.contains(requested))
            asked = &container;
        if (container.m_traits.extensions.contains(extension))
            byExtension.append(&container);
    }
    if (asked && (byExtension.isEmpty() || byExtension.contains(asked)) &&
        asked->canHold(videoCodec, audioCodec))
        return {asked, {}};
    for (const Container *container : byExtension) {
        if (container->canHold(videoCodec, audioCodec))
            return {container, {}};
    }
    const QString codecs = describe(videoCodec, audioCodec);
    if (!byExtension.isEmpty())
        return {nullptr, u"%1 cannot be stored in a .%2 file"_s.arg(codecs, extension)};
    if (asked)
        return {nullptr, u"%1 cannot be stored in the %2 format"_s.arg(codecs, requested)};
    return {nullptr,
            u"cannot tell which format to write \"%1\" in: give it a known extension"_s.arg(
                outputPath)};
}

bool Container::canHold(const QString &videoCodec, const QString &audioCodec) const
{
    return (videoCodec.isEmpty() || m_traits.videoCodecs.contains(videoCodec)) &&
           (audioCodec.isEmpty() || m_traits.audioCodecs.contains(audioCodec));
}
