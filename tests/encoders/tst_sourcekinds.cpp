#include "tests/encoders/CommandTable.h"
#include "tests/encoders/EncoderRun.h"
#include "tests/encoders/FileProbe.h"
#include "tests/encoders/PictureAndSound.h"
#include "tests/helpers/Words.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QRect>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <algorithm>
#include <bit>
#include <cmath>

using namespace Qt::StringLiterals;
using CommandTable::Format;

// Files the way phones, DVDs, old players and sloppy muxers write them,
// converted to every format with the command lines the program passes.
// Each output must play like its source: same shape and orientation, the
// whole duration, the streams it should have, and a clean decode.
class TestSourceKinds final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void playsLikeTheSource_data();
    void playsLikeTheSource();

private:
    struct Source
    {
        QString path;
        QString problem;
        double displayAspect = 0.0;
        QByteArray firstFrame;
        QList<double> flashes;
        QList<double> clicks;
        double saturation = 0.0;
        int pictures = 0;
    };

    const Source &source(const QString &kind);
    QString intermediate(const QString &kind, QString &problem);
    QString ffmpeg(const QStringList &arguments, QByteArray *output = nullptr) const;
    QByteArray firstFrame(const QString &path, const QString &look = {}) const;
    QRect activeArea(const QString &path) const;
    double activeAspect(const QString &path, const QRect &area) const;
    double saturation(const QString &path, const QString &look = {}) const;
    int pictureCount(const QString &path) const;
    int combedFrames(const QString &path) const;
    static bool indexAtFront(const QString &path);
    QList<double> flashes(const QString &path) const;
    QList<double> clicks(const QString &path) const;
    QString syncProblem(const QString &output, const Source &input, double frameSeconds) const;

    QTemporaryDir m_work;
    QString m_data;
    QString m_ffmpeg;
    QString m_ffprobe;
    QHash<QString, Source> m_sources;
    QHash<QString, QString> m_intermediates;
    int m_folders = 0;
};

namespace {

// How one kind of file is made: ffmpeg runs in turn, "{previous}" standing
// for the file the run before wrote; the last run writes the source.
struct SourceKind
{
    QString key;
    QList<QStringList> recipe;
    QString extension;
    double videoSeconds = 0.0; // where the picture ends, or the sound if later
    double audioSeconds = 0.0; // how long the sound lasts; 0: no sound
    // Moments at which the picture flashes and the sound clicks together,
    // and the source's frame duration, which bounds how far they may drift.
    QList<double> cues{};
    double frameSeconds = 0.0;
    // A duration written into a Matroska header over the true one.
    double claimedSeconds = 0.0;
    // Files written before the recipe runs, named relative to the work
    // folder ("{work}" in a recipe): subtitles beside the source or for
    // the recipe to mux.
    QList<QPair<QString, QByteArray>> sideFiles{};
    // Moments at which burned-in subtitle text must be on the picture, in
    // its lower third, and moments at which none may be.
    QList<double> textShownAt{};
    QList<double> textHiddenAt{};
    int toneHz = 0; // the sound's pitch: the track that must be converted
    // How the source's picture is to be seen for comparisons: its HDR
    // tone-mapped as a player of SDR would.
    QString sourceLook{};
    bool interlaced = false;
    bool variableRate = false; // picture count kept where the format keeps timing
};

QStringList picture(const QString &size, const QString &rate)
{
    return {u"-f"_s, u"lavfi"_s, u"-i"_s, u"testsrc=size=%1:rate=%2"_s.arg(size, rate)};
}

QStringList sound(int sampleRate, const QString &layout = {})
{
    QString graph = u"sine=frequency=440:sample_rate=%1"_s.arg(sampleRate);
    if (!layout.isEmpty())
        graph += u",aformat=channel_layouts="_s + layout;
    return {u"-f"_s, u"lavfi"_s, u"-i"_s, graph};
}

// A picture that turns white for a tenth of a second at each cue, and a
// sound that is silent but for a 30 ms tone starting at each cue.
QStringList cuedPicture(const QString &rate, const QList<double> &cues)
{
    QStringList flashes;
    for (const double cue : cues)
        flashes.append(u"between(t,%1,%2)"_s.arg(cue - 0.001).arg(cue + 0.1));
    return {u"-f"_s, u"lavfi"_s, u"-i"_s,
            u"testsrc=size=160x120:rate=%1,drawbox=c=white:t=fill:enable='%2'"_s.arg(
                rate, flashes.join(u'+'))};
}

QStringList cuedSound(const QList<double> &cues)
{
    QStringList clicks;
    for (const double cue : cues)
        clicks.append(u"between(t,%1,%2)"_s.arg(cue).arg(cue + 0.03));
    return {u"-f"_s, u"lavfi"_s, u"-i"_s,
            u"aevalsrc='(%1)*0.8*sin(2*PI*1000*t)':s=44100"_s.arg(clicks.join(u'+'))};
}

// A flat picture, so that burned-in text is the only bright thing on it.
QStringList flatPicture(double seconds)
{
    return {u"-f"_s, u"lavfi"_s, u"-i"_s,
            u"color=c=0x406080:size=320x240:rate=25:duration=%1"_s.arg(seconds)};
}

QByteArray srtCue(double from, double to, const QString &text)
{
    const auto time = [](double seconds) {
        const int ms = static_cast<int>(std::lround(seconds * 1000));
        return u"00:00:%1,%2"_s.arg(ms / 1000, 2, 10, QChar(u'0'))
            .arg(ms % 1000, 3, 10, QChar(u'0'));
    };
    return u"1\r\n%1 --> %2\r\n%3\r\n\r\n"_s.arg(time(from), time(to), text).toUtf8();
}

QByteArray inGbk(const QByteArray &utf8)
{
    QStringEncoder encoder("GB18030");
    return encoder.encode(QString::fromUtf8(utf8));
}

QByteArray assScript(const QString &dialogue)
{
    return QByteArray("\xEF\xBB\xBF") +
           u"[Script Info]\nScriptType: v4.00+\nPlayResX: 320\nPlayResY: 240\n\n"
           u"[V4+ Styles]\nFormat: Name, Fontname, Fontsize, PrimaryColour, OutlineColour, "
           u"BorderStyle, Outline, Shadow, Alignment, MarginV\n"
           u"Style: Default,Noto Sans CJK SC,24,&H00FFFFFF,&H00000000,1,1,0,2,10\n\n"
           u"[Events]\nFormat: Layer, Start, End, Style, Text\n"
           u"Dialogue: 0,0:00:01.00,0:00:02.00,Default,%1\n"_s.arg(dialogue)
               .toUtf8();
}

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray made;
    for (const int value : values)
        made.append(static_cast<char>(value));
    return made;
}

QByteArray bigEndian16(int value)
{
    return bytes({value >> 8, value & 0xFF});
}

// One DVD subtitle picture, as a DVD's program stream carries it: a box in
// the lower third of a 320x240 picture, shown for a second from the start.
// Each of its lines is one run of colour 1 to the line's end.
QByteArray dvdSubtitleStream()
{
    constexpr int Left = 60, Right = 259, Top = 180, Bottom = 209;
    const QByteArray field = QByteArray::fromHex("0001").repeated((Bottom - Top + 1) / 2);
    const int control = 4 + 2 * static_cast<int>(field.size());
    const QByteArray area = bytes({Left >> 4, ((Left & 15) << 4) | (Right >> 8), Right & 0xFF,
                                   Top >> 4, ((Top & 15) << 4) | (Bottom >> 8), Bottom & 0xFF});
    QByteArray show = QByteArray::fromHex("01"
                                          "030010"
                                          "0400F0"
                                          "05") +
                      area + QByteArray::fromHex("06") + bigEndian16(4) +
                      bigEndian16(4 + static_cast<int>(field.size())) + QByteArray::fromHex("FF");
    const int stop = control + 4 + static_cast<int>(show.size());
    // 88 ticks of 1024/90000 s: one second.
    const QByteArray commands = bigEndian16(0) + bigEndian16(stop) + show + bigEndian16(88) +
                                bigEndian16(stop) + QByteArray::fromHex("02FF");
    const QByteArray unit = bigEndian16(control + static_cast<int>(commands.size())) +
                            bigEndian16(control) + field + field + commands;
    const QByteArray packet = QByteArray::fromHex("818005"
                                                  "2100010001"
                                                  "20") +
                              unit;
    return QByteArray::fromHex("000001BA"
                               "440004000401"
                               "0189C3F8"
                               "000001BD") +
           bigEndian16(static_cast<int>(packet.size())) + packet + QByteArray::fromHex("000001B9");
}

// testsrc as a 10-bit phone records HDR: PQ transfer, BT.2020 primaries.
QStringList perceptualQuantiser()
{
    return words(u"-t 1.5 -vf format=gbrp,zscale=tin=iec61966-2-1:min=gbr:pin=bt709:rin=full:"
                 "t=smpte2084:p=bt2020:m=bt2020nc:r=tv:npl=100,format=yuv420p10le "
                 "-c:v libx265 -x265-params log-level=error -color_primaries bt2020 "
                 "-color_trc smpte2084 -colorspace bt2020nc -c:a aac"_s);
}

const QString ToneMapped =
    u"zscale=t=linear:npl=100,format=gbrpf32le,zscale=p=bt709,tonemap=tonemap=hable:desat=0,"
    u"zscale=t=bt709:m=bt709:r=tv,format=yuv420p"_s;

// A source made by the recipe, its picture and sound lasting as given.
SourceKind sourceKind(const QString &key, const QString &extension, double videoSeconds,
                      double audioSeconds, const QList<QStringList> &recipe)
{
    return {key, recipe, extension, videoSeconds, audioSeconds};
}

SourceKind withCues(SourceKind kind, const QList<double> &cues, double frameSeconds)
{
    kind.cues = cues;
    kind.frameSeconds = frameSeconds;
    return kind;
}

// Three seconds of a flat picture, encoded as the options say, whose
// subtitles show from 1 s to 2 s.
SourceKind subtitled(const QString &key, const QString &extension, const QString &encoding,
                     const QList<QPair<QString, QByteArray>> &sideFiles)
{
    SourceKind kind =
        sourceKind(key, extension, 3.0, 3.0, {flatPicture(3) + sound(44100) + words(encoding)});
    kind.sideFiles = sideFiles;
    kind.textShownAt = {1.5};
    kind.textHiddenAt = {0.5, 2.5};
    return kind;
}

const QList<SourceKind> &sourceKinds()
{
    const QString plainVideo = u"-c:v mpeg4 -q:v 5"_s;
    static const QList<SourceKind> kinds{
        sourceKind(u"rotated-phone"_s, u"mp4"_s, 1.5, 1.5,
                   {picture(u"320x180"_s, u"30"_s) + sound(44100) +
                        words(u"-t 1.5 -c:v libx264 -pix_fmt yuv420p -c:a aac"_s),
                    words(u"-i {previous} -c copy -metadata:s:v:0 rotate=90"_s)}),
        sourceKind(u"pal-widescreen"_s, u"mpg"_s, 1.0, 1.0,
                   {picture(u"720x576"_s, u"25"_s) + sound(48000, u"stereo"_s) +
                    words(u"-t 1 -vf setsar=64/45 -c:v mpeg2video -b:v 4M -c:a mp2"_s)}),
        sourceKind(u"odd-size"_s, u"mkv"_s, 1.0, 1.0,
                   {picture(u"641x361"_s, u"25"_s) + sound(44100) +
                    words(u"-t 1 -c:v libx264 -pix_fmt yuv444p -c:a aac"_s)}),
        sourceKind(u"surround-8k"_s, u"mp4"_s, 1.0, 1.0,
                   {picture(u"320x240"_s, u"25"_s) + sound(8000, u"5.1"_s) +
                    words(u"-t 1 -c:a aac "_s + plainVideo)}),
        sourceKind(u"mono-11k"_s, u"avi"_s, 1.0, 1.0,
                   {picture(u"320x240"_s, u"25"_s) + sound(11025) +
                    words(u"-t 1 -c:a pcm_s16le "_s + plainVideo)}),
        sourceKind(u"old-phone-3gp"_s, u"3gp"_s, 1.0, 1.0,
                   {picture(u"176x144"_s, u"15"_s) + sound(8000) +
                    words(u"-t 1 -c:v h263 -c:a libopencore_amrnb -ac 1 -b:a 12.2k"_s)}),
        sourceKind(u"seven-one-96k"_s, u"mkv"_s, 1.0, 1.0,
                   {picture(u"320x240"_s, u"25"_s) + sound(96000, u"7.1"_s) +
                    words(u"-t 1 -c:a flac "_s + plainVideo)}),
        sourceKind(u"film-rate-b-frames"_s, u"avi"_s, 1.5, 1.5,
                   {picture(u"320x240"_s, u"24000/1001"_s) + sound(44100) +
                    words(u"-t 1.5 -bf 2 -c:a libmp3lame "_s + plainVideo)}),
        // The codec claims 24000/1001, the timestamps run at 2997/125.
        sourceKind(u"rate-off-the-timestamps"_s, u"avi"_s, 1.5, 1.5,
                   {picture(u"320x240"_s, u"2997/125"_s) + sound(44100) +
                    words(u"-t 1.5 -c:a libmp3lame "_s + plainVideo)}),
        sourceKind(u"video-longer"_s, u"avi"_s, 2.0, 1.0,
                   {picture(u"320x240"_s, u"25"_s) + sound(44100) +
                    words(u"-filter_complex [0:v]trim=0:2[v];[1:a]atrim=0:1[a] -map [v] -map [a] "
                          "-c:a libmp3lame "_s +
                          plainVideo)}),
        sourceKind(u"audio-longer"_s, u"avi"_s, 1.0, 2.0,
                   {picture(u"320x240"_s, u"25"_s) + sound(44100) +
                    words(u"-filter_complex [0:v]trim=0:1[v];[1:a]atrim=0:2[a] -map [v] -map [a] "
                          "-c:a libmp3lame "_s +
                          plainVideo)}),
        // Cut to its first picture before any sound was written: the sound
        // track is declared but holds no packet.
        sourceKind(u"one-frame"_s, u"avi"_s, 0.04, 0.0,
                   {picture(u"320x240"_s, u"25"_s) + sound(44100) +
                    words(u"-frames:v 1 -c:a pcm_s16le "_s + plainVideo)}),
        sourceKind(
            u"mpeg1-without-timestamps"_s, u"m1v"_s, 1.0, 0.0,
            {picture(u"352x288"_s, u"25"_s) + words(u"-t 1 -c:v mpeg1video -f mpeg1video"_s)}),
        withCues(sourceKind(
                     u"sound-2s-late"_s, u"mkv"_s, 4.0, 2.0,
                     {cuedPicture(u"25"_s, {2.6, 3.4}) + cuedSound({2.6, 3.4}) +
                      words(u"-filter_complex [0:v]trim=0:4[v];[1:a]atrim=2:4[a] -map [v] -map [a] "
                            "-c:a pcm_s16le "_s +
                            plainVideo)}),
                 {2.6, 3.4}, 0.04),
        // As Windows Media files come from a stalled capture: 1.1 s missing
        // from both streams, the timestamps jumping over it.
        withCues(sourceKind(
                     u"gap-in-both"_s, u"wmv"_s, 4.0, 4.0,
                     {cuedPicture(u"25"_s, {0.6, 3.0, 3.6}) + cuedSound({0.6, 3.0, 3.6}) +
                      words(u"-filter_complex [0:v]trim=0:4,select='not(between(t,1.4,2.5))'[v];"
                            "[1:a]atrim=0:4,aselect='not(between(t,1.4,2.5))'[a] -map [v] -map [a] "
                            "-fps_mode passthrough -c:v wmv2 -q:v 5 -c:a wmav2"_s)}),
                 {0.6, 3.0, 3.6}, 0.04),
        {.key = u"header-overstated"_s,
         .recipe = {picture(u"160x120"_s, u"10"_s) + words(u"-t 4.5 -c:v libtheora -q:v 5"_s)},
         .extension = u"mkv"_s,
         .videoSeconds = 4.5,
         .claimedSeconds = 6.0},
        withCues(sourceKind(u"one-fps"_s, u"flv"_s, 5.0, 5.0,
                            {cuedPicture(u"1"_s, {1.0, 3.0}) + cuedSound({1.0, 3.0}) +
                             words(u"-t 5 -c:v flv1 -q:v 5 -c:a libmp3lame"_s)}),
                 {1.0, 3.0}, 1.0),
        // Eight pictures a second in a file whose frame rate says 24.
        withCues(sourceKind(u"eight-fps-declared-24"_s, u"avi"_s, 3.0, 3.0,
                            {cuedPicture(u"8"_s, {1.0, 2.5}) + cuedSound({1.0, 2.5}) +
                             words(u"-t 3 -r 24 -fps_mode vfr -c:a libmp3lame "_s + plainVideo)}),
                 {1.0, 2.5}, 0.125),
        // Subtitles beside the video as Chinese sites name and encode them.
        subtitled(
            u"gbk-subtitles-beside"_s, u"mp4"_s, u"-t 3 -c:v libx264 -pix_fmt yuv420p -c:a aac"_s,
            {{u"gbk-subtitles-beside-0.chs.srt"_s, inGbk(srtCue(1.0, 2.0, u"字幕测试：中文"_s))},
             {u"gbk-subtitles-beside-0.en.srt"_s, srtCue(0.2, 0.8, u"English"_s)}}),
        subtitled(u"ass-beside"_s, u"avi"_s, u"-t 3 -c:v mpeg4 -q:v 3 -c:a libmp3lame"_s,
                  {{u"ass-beside-0.ass"_s, assScript(u"样式字幕"_s)}}),
        // The first track is an undisplayed one; the second is flagged to
        // be shown.
        subtitled(u"default-subtitle-track"_s, u"mkv"_s,
                  u"-i {work}/shown.srt -i {work}/hidden.srt -t 3 -map 0:v -map 1:a -map 3 -map 2 "
                  "-c:v libx264 -c:a aac -c:s srt -disposition:s:0 0 "
                  "-disposition:s:1 default+forced -metadata:s:s:1 language=chi"_s,
                  {{u"shown.srt"_s, srtCue(1.0, 2.0, u"内嵌字幕"_s)},
                   {u"hidden.srt"_s, srtCue(0.2, 0.8, u"hidden"_s)}}),
        subtitled(u"dvd-picture-subtitles"_s, u"mkv"_s,
                  u"-itsoffset 1 -i {work}/box.sub -t 3 -map 0:v -map 1:a -map 2 -c:v libx264 "
                  "-c:a aac -c:s copy -disposition:s:0 default"_s,
                  {{u"box.sub"_s, dvdSubtitleStream()}}),
        // A Chinese track first, an English one flagged default.
        {.key = u"two-sound-tracks"_s,
         .recipe = {picture(u"320x240"_s, u"25"_s) +
                    words(u"-f lavfi -i sine=frequency=440:sample_rate=48000 "
                          "-f lavfi -i sine=frequency=1000:sample_rate=48000 -t 1.5 -map 0 "
                          "-map 1 -map 2 -c:v libx264 -c:a aac -metadata:s:a:0 language=chi "
                          "-metadata:s:a:1 language=eng -disposition:a:0 0 "
                          "-disposition:a:1 default"_s)},
         .extension = u"mkv"_s,
         .videoSeconds = 1.5,
         .audioSeconds = 1.5,
         .toneHz = 1000},
        {.key = u"hdr-pq-phone"_s,
         .recipe = {picture(u"640x360"_s, u"30"_s) + sound(48000) + perceptualQuantiser()},
         .extension = u"mp4"_s,
         .videoSeconds = 1.5,
         .audioSeconds = 1.5,
         .sourceLook = ToneMapped},
        // Smooth motion: idet takes testsrc's sharp moving edges for combing
        // even in frames that never were interlaced.
        {.key = u"interlaced-tv"_s,
         .recipe = {words(u"-f lavfi -i mandelbrot=size=720x576:rate=50"_s) + sound(48000) +
                    words(u"-t 2 -vf tinterlace=interleave_top,fieldorder=tff -flags +ilme+ildct "
                          "-top 1 -pix_fmt yuv420p -c:v mpeg2video -b:v 6M -c:a mp2"_s)},
         .extension = u"mpg"_s,
         .videoSeconds = 2.0,
         .audioSeconds = 2.0,
         .interlaced = true},
        sourceKind(u"tiny-48x144"_s, u"mp4"_s, 1.5, 1.5,
                   {picture(u"48x144"_s, u"30"_s) + sound(44100) +
                    words(u"-t 1.5 -c:v libx264 -pix_fmt yuv420p -c:a aac"_s)}),
        // A phone's variable rate: bursts of four pictures at 60 fps.
        {.key = u"variable-rate-phone"_s,
         .recipe = {picture(u"320x240"_s, u"60"_s) + sound(44100) +
                    words(u"-t 3 -vf select='lt(mod(n\\,10)\\,4)' -fps_mode vfr -c:v libx264 "
                          "-c:a aac"_s)},
         .extension = u"mp4"_s,
         .videoSeconds = 3.0,
         .audioSeconds = 3.0,
         .variableRate = true},
    };
    return kinds;
}

const SourceKind *kindNamed(const QString &key)
{
    const QList<SourceKind> &kinds = sourceKinds();
    const auto match = std::find_if(kinds.begin(), kinds.end(),
                                    [&](const SourceKind &kind) { return kind.key == key; });
    return match == kinds.end() ? nullptr : &*match;
}

// CTest runs one kind per process, so the kinds convert side by side.
QList<const SourceKind *> selectedKinds()
{
    const QString only = qEnvironmentVariable("ZENVORA_SOURCE_KIND");
    QList<const SourceKind *> selected;
    for (const SourceKind &kind : sourceKinds()) {
        if (only.isEmpty() || kind.key == only)
            selected.append(&kind);
    }
    return selected;
}

const QList<QPair<Format, const char *>> &formats()
{
    static const QList<QPair<Format, const char *>> all{{Format::Rmvb, "RMVB"},
                                                        {Format::Rm, "RM"},
                                                        {Format::Mpg, "MPG"},
                                                        {Format::Avi, "AVI"},
                                                        {Format::Mp4HighQuality, "MP4 HQ"},
                                                        {Format::Mov, "MOV"},
                                                        {Format::Mp4Mobile, "mobile MP4"},
                                                        {Format::ThreeGpMobile, "3GP"},
                                                        {Format::Mp3Audio, "MP3"},
                                                        {Format::H264Mp4, "H.264 MP4"},
                                                        {Format::HevcMp4, "HEVC MP4"},
                                                        {Format::Vp9Webm, "VP9 WebM"}};
    return all;
}

// The last progress an encoder prints must read as the end: "(100%)" from
// conv.exe, a time at or past the announced duration from the coders.
QString unfinishedProgress(const QString &encoder, const QString &output)
{
    if (encoder == u"conv.exe") {
        const QString last = output.mid(output.lastIndexOf(u"Pos:"_s)).section(u'\n', 0, 0);
        return last.contains(u"(100%)"_s) ? QString() : u"last progress: "_s + last;
    }
    static const QRegularExpression duration(u"Duration: (\\d+):(\\d+):([\\d.]+),"_s);
    static const QRegularExpression time(u"time=([\\d.]+)"_s);
    const QRegularExpressionMatch announced = duration.match(output);
    QRegularExpressionMatch last;
    for (const QRegularExpressionMatch &match : time.globalMatch(output))
        last = match;
    if (!announced.hasMatch() || !last.hasMatch())
        return u"no duration or no time"_s;
    const double seconds = announced.captured(1).toDouble() * 3600 +
                           announced.captured(2).toDouble() * 60 + announced.captured(3).toDouble();
    return last.captured(1).toDouble() >= seconds
               ? QString()
               : u"last time=%1 short of %2 s"_s.arg(last.captured(1)).arg(seconds);
}

QString listed(const QList<double> &times)
{
    QStringList texts;
    for (const double time : times)
        texts.append(QString::number(time, 'f', 3));
    return u"["_s + texts.join(u", "_s) + u"]"_s;
}

int meanDifference(const QByteArray &a, const QByteArray &b)
{
    if (a.size() != b.size() || a.isEmpty())
        return 255;
    int sum = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        sum += std::abs(static_cast<unsigned char>(a.at(i)) - static_cast<unsigned char>(b.at(i)));
    return sum / static_cast<int>(a.size());
}

// Writes a duration over the one a Matroska muxer put in the header (an
// 8-byte float Duration element, in milliseconds).
QString overstateDuration(const QString &path, double seconds)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return file.errorString();
    const QByteArray head = file.peek(4096);
    const qsizetype at = head.indexOf(QByteArray::fromHex("448988"));
    if (at < 0)
        return u"no Duration element in "_s + path;
    const quint64 bits = qToBigEndian(std::bit_cast<quint64>(seconds * 1000.0));
    file.seek(at + 3);
    file.write(reinterpret_cast<const char *>(&bits), sizeof bits);
    return {};
}

// The times at which a run of loud samples begins after a pause.
QList<double> onsets(const QByteArray &samples, int sampleRate)
{
    const auto *values = reinterpret_cast<const qint16 *>(samples.constData());
    const qsizetype count = samples.size() / 2;
    int peak = 0;
    for (qsizetype i = 0; i < count; ++i)
        peak = std::max(peak, std::abs(static_cast<int>(values[i])));
    QList<double> found;
    qsizetype lastLoud = -sampleRate;
    for (qsizetype i = 0; i < count; ++i) {
        if (std::abs(static_cast<int>(values[i])) * 10 <= peak * 3)
            continue;
        if (i - lastLoud > sampleRate / 5)
            found.append(static_cast<double>(i) / sampleRate);
        lastLoud = i;
    }
    return found;
}

double frameSecondsOf(const QString &rate)
{
    const QStringList parts = rate.split(u'/');
    const double value = parts.size() == 2 && parts.at(1).toDouble() > 0
                             ? parts.at(0).toDouble() / parts.at(1).toDouble()
                             : 0.0;
    return value > 0.0 ? 1.0 / value : 0.0;
}

constexpr double AspectTolerance = 0.02;
// The grid pictures are looked at on, and the level at or under which a
// pixel is black: a little over video black, for codec ringing.
constexpr int GridWidth = 320;
constexpr int GridHeight = 240;
constexpr int BarLevel = 40;
// Two codecs' renderings of one picture, shrunk to 8x8 grey, differ by a
// few levels; the same picture turned or mirrored by dozens.
constexpr int SamePictureDifference = 12;

} // namespace

void TestSourceKinds::initTestCase()
{
    m_data = qEnvironmentVariable("ZENVORA_PROGRAM_DIR") + u"/data"_s;
    m_ffmpeg = QStandardPaths::findExecutable(u"ffmpeg"_s);
    m_ffprobe = QStandardPaths::findExecutable(u"ffprobe"_s);
    QVERIFY2(!m_ffmpeg.isEmpty() && !m_ffprobe.isEmpty(), "ffmpeg and ffprobe must be installed");
    QVERIFY(m_work.isValid());
    QVERIFY2(!selectedKinds().isEmpty(), "ZENVORA_SOURCE_KIND names no kind of source");
}

QString TestSourceKinds::ffmpeg(const QStringList &arguments, QByteArray *output) const
{
    QProcess process;
    process.start(m_ffmpeg,
                  QStringList{u"-nostdin"_s, u"-hide_banner"_s, u"-v"_s, u"error"_s} + arguments,
                  QIODevice::ReadOnly);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return u"ffmpeg %1 failed: %2"_s.arg(arguments.join(u' '),
                                             QString::fromUtf8(process.readAllStandardError()));
    if (output)
        *output = process.readAllStandardOutput();
    return QString::fromUtf8(process.readAllStandardError()).trimmed();
}

QByteArray TestSourceKinds::firstFrame(const QString &path, const QString &look) const
{
    QByteArray pixels;
    const QString shrink = u"scale=8:8,format=gray"_s;
    ffmpeg({u"-i"_s, path, u"-frames:v"_s, u"1"_s, u"-vf"_s,
            look.isEmpty() ? shrink : look + u',' + shrink, u"-f"_s, u"rawvideo"_s, u"pipe:1"_s},
           &pixels);
    return pixels;
}

// Where the picture is inside black bars, on a 320x240 grid over the whole
// frame: the lines at the edges that are black from end to end are bars.
QRect TestSourceKinds::activeArea(const QString &path) const
{
    QByteArray pixels;
    ffmpeg({u"-i"_s, path, u"-frames:v"_s, u"1"_s, u"-vf"_s,
            u"scale=%1:%2,format=gray"_s.arg(GridWidth).arg(GridHeight), u"-f"_s, u"rawvideo"_s,
            u"pipe:1"_s},
           &pixels);
    if (pixels.size() != GridWidth * GridHeight)
        return {};
    const auto dark = [&](int x, int y) {
        return static_cast<unsigned char>(pixels.at(y * GridWidth + x)) <= BarLevel;
    };
    const auto darkColumn = [&](int x) {
        for (int y = 0; y < GridHeight; ++y) {
            if (!dark(x, y))
                return false;
        }
        return true;
    };
    const auto darkRow = [&](int y) {
        for (int x = 0; x < GridWidth; ++x) {
            if (!dark(x, y))
                return false;
        }
        return true;
    };
    int left = 0, right = GridWidth - 1, top = 0, bottom = GridHeight - 1;
    while (left < right && darkColumn(left))
        ++left;
    while (right > left && darkColumn(right))
        --right;
    while (top < bottom && darkRow(top))
        ++top;
    while (bottom > top && darkRow(bottom))
        --bottom;
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

// Width over height of the picture as shown, without its black bars.
double TestSourceKinds::activeAspect(const QString &path, const QRect &area) const
{
    const double frameAspect = FileProbe::of(m_ffprobe, path).displayAspect;
    return frameAspect * area.width() / GridWidth * GridHeight / area.height();
}

double TestSourceKinds::saturation(const QString &path, const QString &look) const
{
    static const QRegularExpression mean(u"SATAVG=([\\d.]+)"_s);
    QString graph = u"format=yuv444p,signalstats,metadata=print:key=lavfi.signalstats.SATAVG"_s;
    if (!look.isEmpty())
        graph = look + u',' + graph;
    const QString log = ffmpeg({u"-v"_s, u"info"_s, u"-i"_s, path, u"-frames:v"_s, u"10"_s,
                                u"-vf"_s, graph, u"-f"_s, u"null"_s, u"-"_s});
    QRegularExpressionMatch last;
    for (const QRegularExpressionMatch &match : mean.globalMatch(log))
        last = match;
    return last.hasMatch() ? last.captured(1).toDouble() : 0.0;
}

int TestSourceKinds::pictureCount(const QString &path) const
{
    QProcess process;
    process.start(m_ffprobe,
                  {u"-v"_s, u"error"_s, u"-count_frames"_s, u"-select_streams"_s, u"v:0"_s,
                   u"-show_entries"_s, u"stream=nb_read_frames"_s, u"-of"_s, u"csv=p=0"_s, path});
    process.waitForFinished(60000);
    return process.readAllStandardOutput().trimmed().toInt();
}

// Frames idet still finds woven from two moments, after its first few.
int TestSourceKinds::combedFrames(const QString &path) const
{
    static const QRegularExpression counts(
        u"Multi frame detection: TFF:\\s*(\\d+) BFF:\\s*(\\d+)"_s);
    const QString log = ffmpeg({u"-v"_s, u"info"_s, u"-i"_s, path, u"-vf"_s, u"idet"_s, u"-an"_s,
                                u"-f"_s, u"null"_s, u"-"_s});
    const QRegularExpressionMatch match = counts.match(log);
    return match.hasMatch() ? match.captured(1).toInt() + match.captured(2).toInt() : -1;
}

// Whether an ISO file's index comes before its media data, so that it
// plays while it downloads.
bool TestSourceKinds::indexAtFront(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    while (!file.atEnd()) {
        const QByteArray header = file.read(8);
        if (header.size() < 8)
            return false;
        const quint32 size = qFromBigEndian<quint32>(header.constData());
        const QByteArray type = header.mid(4);
        if (type == "moov")
            return true;
        if (type == "mdat" || size < 8)
            return false;
        file.seek(file.pos() + size - 8);
    }
    return false;
}

// When the picture turns white, on the timeline a player follows.
QList<double> TestSourceKinds::flashes(const QString &path) const
{
    static const QRegularExpression frame(u"pts_time:\\s*([-\\d.]+).*mean:\\[(\\d+)"_s);
    const QString log = ffmpeg({u"-v"_s, u"info"_s, u"-i"_s, path, u"-map"_s, u"0:v"_s, u"-vf"_s,
                                u"scale=8:8,format=gray,showinfo"_s, u"-f"_s, u"null"_s, u"-"_s});
    QList<double> found;
    bool bright = false;
    for (const QRegularExpressionMatch &match : frame.globalMatch(log)) {
        const bool nowBright = match.captured(2).toInt() > 200;
        if (nowBright && !bright)
            found.append(match.captured(1).toDouble());
        bright = nowBright;
    }
    return found;
}

// When the sound clicks, its samples laid out by their timestamps from the
// file's start as a player lays them.
QList<double> TestSourceKinds::clicks(const QString &path) const
{
    constexpr int SampleRate = 8000;
    QByteArray samples;
    ffmpeg({u"-i"_s, path, u"-map"_s, u"0:a"_s, u"-af"_s, u"aresample=async=1:first_pts=0"_s,
            u"-ac"_s, u"1"_s, u"-ar"_s, QString::number(SampleRate), u"-f"_s, u"s16le"_s,
            u"pipe:1"_s},
           &samples);
    return onsets(samples, SampleRate);
}

// Each click must lie as far from its flash as in the source, within one
// frame, from the first cue to the last.
QString TestSourceKinds::syncProblem(const QString &output, const Source &input,
                                     double frameSeconds) const
{
    const QList<double> seen = flashes(output);
    const QList<double> heard = clicks(output);
    const auto describe = [&] {
        return u"flashes at %1 and clicks at %2 in the source; at %3 and %4 in the output"_s.arg(
            listed(input.flashes), listed(input.clicks), listed(seen), listed(heard));
    };
    if (seen.size() != input.flashes.size() || heard.size() != input.clicks.size())
        return describe();
    for (qsizetype i = 0; i < seen.size(); ++i) {
        const double drift =
            (heard.at(i) - seen.at(i)) - (input.clicks.at(i) - input.flashes.at(i));
        if (std::abs(drift) > frameSeconds + 0.001)
            return describe();
    }
    return {};
}

const TestSourceKinds::Source &TestSourceKinds::source(const QString &key)
{
    if (m_sources.contains(key))
        return m_sources[key];
    const SourceKind &kind = *kindNamed(key);
    Source &made = m_sources[key];
    for (const auto &[name, content] : kind.sideFiles) {
        QFile file(m_work.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size()) {
            made.problem = u"cannot write "_s + file.fileName();
            return made;
        }
    }
    QString previous;
    for (qsizetype step = 0; step < kind.recipe.size(); ++step) {
        const QString path = m_work.filePath(u"%1-%2.%3"_s.arg(key).arg(step).arg(kind.extension));
        QStringList arguments = kind.recipe.at(step);
        arguments.replaceInStrings(u"{previous}"_s, previous);
        arguments.replaceInStrings(u"{work}"_s, m_work.path());
        made.problem = ffmpeg(arguments << u"-y"_s << path);
        if (!made.problem.isEmpty())
            return made;
        previous = path;
    }
    made.path = previous;
    if (kind.claimedSeconds > 0.0) {
        made.problem = overstateDuration(made.path, kind.claimedSeconds);
        if (!made.problem.isEmpty())
            return made;
    }
    if (!kind.cues.isEmpty()) {
        made.flashes = flashes(made.path);
        made.clicks = clicks(made.path);
        if (made.flashes.size() != kind.cues.size() || made.clicks.size() != kind.cues.size()) {
            made.problem = u"the source's cues are not found"_s;
            return made;
        }
    }
    made.displayAspect = FileProbe::of(m_ffprobe, made.path).displayAspect;
    made.firstFrame = firstFrame(made.path, kind.sourceLook);
    if (!kind.sourceLook.isEmpty())
        made.saturation = saturation(made.path, kind.sourceLook);
    if (kind.variableRate)
        made.pictures = pictureCount(made.path);
    return made;
}

// Stage one of the five two-stage formats is one and the same command, run
// as the program runs it.
QString TestSourceKinds::intermediate(const QString &key, QString &problem)
{
    if (!m_intermediates.contains(key)) {
        const QString path = m_work.filePath(key + u"-tmp.mp4"_s);
        const CommandTable::Command command = CommandTable::stageOne(
            Format::Rmvb, source(key).path, path, CommandTable::defaults(Format::Rmvb));
        const EncoderRun run = EncoderRun::run(m_data + u'/' + command.encoder, command.arguments,
                                               command.environment);
        m_intermediates.insert(key, run.succeeded() ? path : u"stage one: "_s + run.report());
    }
    const QString result = m_intermediates.value(key);
    if (!QFileInfo::exists(result)) {
        problem = result;
        return {};
    }
    return result;
}

void TestSourceKinds::playsLikeTheSource_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<Format>("format");

    for (const SourceKind *kind : selectedKinds()) {
        for (const auto &[format, name] : formats())
            QTest::addRow("%s to %s", qPrintable(kind->key), name) << kind->key << format;
    }
}

void TestSourceKinds::playsLikeTheSource()
{
    QFETCH(QString, kind);
    QFETCH(Format, format);
    const SourceKind &recipe = *kindNamed(kind);
    const Source &input = source(kind);
    QVERIFY2(input.problem.isEmpty(), qPrintable(input.problem));

    const QString folder = m_work.filePath(u"run-%1"_s.arg(++m_folders));
    QVERIFY(QDir().mkpath(folder));
    const QString output = folder + u"/out-957"_s + CommandTable::extension(format);
    const CommandTable::Settings settings = CommandTable::defaults(format);
    CommandTable::Command command;
    if (CommandTable::hasStageTwo(format)) {
        QString problem;
        const QString stageOneOutput = intermediate(kind, problem);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        command = CommandTable::stageTwo(format, stageOneOutput, output, settings);
    } else {
        command = CommandTable::stageOne(format, input.path, output, settings);
    }
    const EncoderRun run =
        EncoderRun::run(m_data + u'/' + command.encoder, command.arguments, command.environment);

    const bool audioOnly = format == Format::Mp3Audio;
    if (audioOnly && recipe.audioSeconds == 0.0) {
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.output.trimmed().endsWith(u"the input has no audio stream"_s),
                 qPrintable(run.output));
        return;
    }
    QVERIFY2(run.succeeded(), qPrintable(run.report()));
    const QString progress = unfinishedProgress(command.encoder, run.output);
    QVERIFY2(progress.isEmpty(), qPrintable(progress));

    const FileProbe probe = FileProbe::of(m_ffprobe, output);
    QCOMPARE(probe.description.contains(u"| v="_s), !audioOnly);
    if (recipe.audioSeconds > 0.0)
        QVERIFY2(probe.description.contains(u"| a="_s), qPrintable(probe.description));
    const double seconds =
        audioOnly ? recipe.audioSeconds : std::max(recipe.videoSeconds, recipe.audioSeconds);
    QVERIFY2(std::abs(probe.durationSeconds - seconds) <= std::max(0.5, seconds * 0.05),
             qPrintable(u"%1 s instead of %2 s"_s.arg(probe.durationSeconds).arg(seconds)));
    if (recipe.toneHz > 0) {
        const int heard = PictureAndSound::pitch(m_ffmpeg, output);
        QVERIFY2(std::abs(heard - recipe.toneHz) <= recipe.toneHz / 20,
                 qPrintable(u"a %1 Hz tone instead of %2 Hz"_s.arg(heard).arg(recipe.toneHz)));
    }
    if (output.endsWith(u".mp4"_s) || output.endsWith(u".mov"_s) || output.endsWith(u".3gp"_s))
        QVERIFY2(indexAtFront(output), "the index is not before the media data");
    if (!audioOnly) {
        // A fixed size of another shape holds the picture between black bars.
        const QRect area = activeArea(output);
        QVERIFY(!area.isEmpty());
        const double aspect = activeAspect(output, area);
        const QString shownPart = u"scale=%1:%2,crop=%3:%4:%5:%6"_s.arg(GridWidth)
                                      .arg(GridHeight)
                                      .arg(area.width())
                                      .arg(area.height())
                                      .arg(area.x())
                                      .arg(area.y());
        QVERIFY2(std::abs(aspect / input.displayAspect - 1.0) <= AspectTolerance,
                 qPrintable(u"shown at %1 instead of %2"_s.arg(aspect).arg(input.displayAspect)));
        for (const double moment : recipe.textShownAt) {
            const PictureAndSound::Text text = PictureAndSound::textAt(m_ffmpeg, output, moment);
            QVERIFY2(text.brightPixels >= 20 && text.onlyInLowerThird,
                     qPrintable(u"at %1 s: %2 text pixels, %3"_s.arg(moment)
                                    .arg(text.brightPixels)
                                    .arg(text.onlyInLowerThird ? u"in the lower third"_s
                                                               : u"some above it"_s)));
        }
        for (const double moment : recipe.textHiddenAt)
            QVERIFY2(PictureAndSound::textAt(m_ffmpeg, output, moment).brightPixels < 5,
                     qPrintable(u"text shown at %1 s, where no cue is"_s.arg(moment)));
        if (!recipe.sourceLook.isEmpty()) {
            const double seen = saturation(output, shownPart);
            QVERIFY2(seen >= input.saturation * 0.8,
                     qPrintable(u"mean saturation %1 against %2 tone-mapped"_s.arg(seen).arg(
                         input.saturation)));
        }
        if (recipe.interlaced) {
            const int combed = combedFrames(output);
            QVERIFY2(combed >= 0 && combed <= 4,
                     qPrintable(u"%1 frames still interlaced"_s.arg(combed)));
        }
        if (recipe.variableRate &&
            (format == Format::H264Mp4 || format == Format::HevcMp4 || format == Format::Vp9Webm))
            QCOMPARE(pictureCount(output), input.pictures);
        const int difference = meanDifference(firstFrame(output, shownPart), input.firstFrame);
        QVERIFY2(difference <= SamePictureDifference,
                 qPrintable(u"first picture differs by %1"_s.arg(difference)));
        if (!recipe.cues.isEmpty()) {
            const double frameSeconds =
                std::max(recipe.frameSeconds, frameSecondsOf(probe.videoFrameRate));
            const QString problem = syncProblem(output, input, frameSeconds);
            QVERIFY2(problem.isEmpty(), qPrintable(problem));
        }
    }
    const QString decodeErrors = ffmpeg({u"-i"_s, output, u"-f"_s, u"null"_s, u"-"_s});
    QVERIFY2(decodeErrors.isEmpty(), qPrintable(decodeErrors));
}

QTEST_GUILESS_MAIN(TestSourceKinds)
#include "tst_sourcekinds.moc"
