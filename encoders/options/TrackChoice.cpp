#include "encoders/options/TrackChoice.h"

#include <QStringList>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// The two- and three-letter codes of the languages films are dubbed in
// most, and the tags Chinese subtitle makers use; a tag outside these
// matches only itself.
const QList<QStringList> LanguageForms{
    {u"zh"_s, u"chi"_s, u"zho"_s, u"chs"_s, u"cht"_s, u"sc"_s, u"tc"_s, u"cn"_s, u"cmn"_s},
    {u"yue"_s},
    {u"en"_s, u"eng"_s},
    {u"ja"_s, u"jpn"_s, u"jp"_s},
    {u"ko"_s, u"kor"_s},
    {u"fr"_s, u"fre"_s, u"fra"_s},
    {u"de"_s, u"ger"_s, u"deu"_s},
    {u"es"_s, u"spa"_s},
    {u"it"_s, u"ita"_s},
    {u"pt"_s, u"por"_s},
    {u"ru"_s, u"rus"_s},
    {u"th"_s, u"tha"_s},
    {u"vi"_s, u"vie"_s},
};

// "zh-CN", "zh_Hans" and "ZH" all come down to "zh".
QString primaryTag(const QString &tag)
{
    return tag.section(u'-', 0, 0).section(u'_', 0, 0).trimmed().toLower();
}

// Subtitle codecs drawn into a picture: text that libass renders, and
// DVD, Blu-ray, DVB and DivX pictures that ffmpeg lays over it. Others
// (teletext, closed captions) are left out rather than failing a
// conversion.
bool isBurnable(const QString &codec)
{
    static const QStringList codecs{
        u"subrip"_s,       u"ass"_s,  u"ssa"_s,          u"mov_text"_s,
        u"webvtt"_s,       u"text"_s, u"dvd_subtitle"_s, u"hdmv_pgs_subtitle"_s,
        u"dvb_subtitle"_s, u"xsub"_s};
    return codecs.contains(codec);
}

} // namespace

TrackChoice::Audio TrackChoice::audio(const MediaInfo &input, const JobChoices::AudioTrack &asked)
{
    if (asked.isDefault())
        return {input.audio, {}};
    if (asked.language.isEmpty()) {
        if (asked.number <= input.audioTracks.size())
            return {input.audioTracks.at(asked.number - 1), {}};
        return {input.audio, u"the input has no sound track %1 (it has %2); its default track is "
                             u"converted"_s.arg(asked.number)
                                 .arg(input.audioTracks.size())};
    }
    const auto match = std::find_if(input.audioTracks.begin(), input.audioTracks.end(),
                                    [&](const MediaInfo::Audio &track) {
                                        return sameLanguage(track.language, asked.language);
                                    });
    if (match != input.audioTracks.end())
        return {*match, {}};
    return {input.audio,
            u"no sound track of the input is in \"%1\"; its default track is converted"_s.arg(
                asked.language)};
}

std::optional<MediaInfo::Subtitle> TrackChoice::shownSubtitle(const MediaInfo &input)
{
    const auto shown =
        std::find_if(input.subtitleTracks.begin(), input.subtitleTracks.end(),
                     [](const MediaInfo::Subtitle &track) {
                         return (track.isDefault || track.isForced) && isBurnable(track.codec);
                     });
    if (shown == input.subtitleTracks.end())
        return std::nullopt;
    return *shown;
}

bool TrackChoice::sameLanguage(const QString &first, const QString &second)
{
    const QString one = primaryTag(first);
    const QString other = primaryTag(second);
    if (one.isEmpty() || other.isEmpty())
        return false;
    if (one == other)
        return true;
    return std::any_of(LanguageForms.begin(), LanguageForms.end(), [&](const QStringList &forms) {
        return forms.contains(one) && forms.contains(other);
    });
}

bool TrackChoice::isChinese(const QString &tag)
{
    return sameLanguage(tag, u"zh"_s);
}
