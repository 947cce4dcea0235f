#include "Container.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

const QList<Container> &catalogue()
{
    // MPEG-PS is written by the "vob" muxer, the one that writes MPEG-2 pack
    // headers. AMR-NB fits only the 3GP flavour of MP4, which therefore also
    // answers for ".mp4", after plain MP4. ffmpeg's RealMedia muxer refuses
    // packets of 64 KiB and more; the limit leaves room for packet headers.
    static const QList<Container> containers{
        {{u"vob"_s, u"mpeg"_s, u"mpg"_s},
         {u"mpg"_s, u"mpeg"_s, u"vob"_s},
         u"mpeg"_s,
         {},
         {u"mpeg2video"_s},
         {u"mp2"_s, u"mp3"_s}},
        {{u"avi"_s},
         {u"avi"_s},
         u"avi"_s,
         {},
         {u"mpeg4"_s, u"mpeg2video"_s},
         {u"mp3"_s, u"mp2"_s, u"ac3"_s}},
        {{u"mp4"_s}, {u"mp4"_s, u"m4v"_s}, u"mp4"_s, u"isom"_s, {u"mpeg4"_s}, {u"aac"_s, u"mp3"_s}},
        {{u"3gp"_s},
         {u"3gp"_s, u"mp4"_s},
         u"3gp"_s,
         u"3gp"_s,
         {u"mpeg4"_s},
         {u"amr_nb"_s, u"aac"_s}},
        {{u"mov"_s}, {u"mov"_s}, u"mov"_s, u"qt"_s, {u"mpeg4"_s}, {u"aac"_s, u"mp3"_s}},
        {{u"rm"_s}, {u"rm"_s, u"rmvb"_s}, u"rm"_s, {}, {u"rv10"_s}, {u"ac3"_s}, 60000},
        {{u"mp3"_s}, {u"mp3"_s}, u"mp3"_s, {}, {}, {u"mp3"_s}},
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

Container::Container(QStringList names, QStringList extensions, QString probeName, QString brand,
                     QStringList videoCodecs, QStringList audioCodecs, int maxVideoFrameBytes)
    : m_names(std::move(names)), m_muxer(m_names.first()), m_extensions(std::move(extensions)),
      m_probeName(std::move(probeName)), m_brand(std::move(brand)),
      m_videoCodecs(std::move(videoCodecs)), m_audioCodecs(std::move(audioCodecs)),
      m_maxVideoFrameBytes(maxVideoFrameBytes)
{
}

Container::Choice Container::choose(const QString &requested, const QString &outputPath,
                                    const QString &videoCodec, const QString &audioCodec)
{
    const QString extension = QFileInfo(outputPath).suffix().toLower();
    const Container *asked = nullptr;
    QList<const Container *> byExtension;
    for (const Container &container : catalogue()) {
        if (container.m_names.contains(requested))
            asked = &container;
        if (container.m_extensions.contains(extension))
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
    return (videoCodec.isEmpty() || m_videoCodecs.contains(videoCodec)) &&
           (audioCodec.isEmpty() || m_audioCodecs.contains(audioCodec));
}
