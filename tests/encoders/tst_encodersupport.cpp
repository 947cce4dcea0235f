#include "encoders/job/ErrorWords.h"
#include "encoders/job/NumberedName.h"
#include "encoders/job/ToolLocator.h"
#include "encoders/options/OptionValues.h"
#include "encoders/options/TrackChoice.h"
#include "encoders/protocol/JobChoices.h"
#include "encoders/subtitles/SubtitleSearch.h"
#include "encoders/subtitles/SubtitleText.h"

#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// The small readers and finders around the encoders: option values,
// ffmpeg's encoder table, where ffmpeg is, the names an output
// takes when its own is taken, the subtitle files that go with a video and
// the encodings they are written in, the forms a sound track is asked for
// in, the causes in ffmpeg's error words.
class TestEncoderSupport final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void bitrates_data();
    void bitrates();
    void frameSizes_data();
    void frameSizes();
    void frameRates_data();
    void frameRates();
    void toolLocation_data();
    void toolLocation();
    void numberedNames_data();
    void numberedNames();
    void subtitleEncodings_data();
    void subtitleEncodings();
    void subtitleFiles_data();
    void subtitleFiles();
    void subtitleContents_data();
    void subtitleContents();
    void shownSubtitleTrack_data();
    void shownSubtitleTrack();
    void audioTrackForms_data();
    void audioTrackForms();
    void errorWords_data();
    void errorWords();

private:
    QTemporaryDir m_folder;
};

namespace {

void makeExecutable(const QString &path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\n");
    file.close();
    QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

} // namespace

void TestEncoderSupport::bitrates_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("expected"); // 0: refused

    QTest::newRow("1200k") << u"1200k"_s << qint64(1200000);
    QTest::newRow("12.2k") << u"12.2k"_s << qint64(12200);
    QTest::newRow("10.2k") << u"10.2k"_s << qint64(10200);
    QTest::newRow("capital K") << u"128K"_s << qint64(128000);
    QTest::newRow("1.5M") << u"1.5M"_s << qint64(1500000);
    QTest::newRow("bare small is kbit/s") << u"128"_s << qint64(128000);
    QTest::newRow("bare large is bit/s") << u"64000"_s << qint64(64000);
    QTest::newRow("trailing blank") << u"1200 k"_s << qint64(0);
    QTest::newRow("empty k") << u"k"_s << qint64(0);
    QTest::newRow("negative") << u"-5k"_s << qint64(0);
    QTest::newRow("zero") << u"0k"_s << qint64(0);
    QTest::newRow("exponent") << u"1e3k"_s << qint64(0);
    QTest::newRow("absurd") << u"99999999M"_s << qint64(0);
}

void TestEncoderSupport::bitrates()
{
    QFETCH(QString, text);
    QFETCH(qint64, expected);
    QCOMPARE(OptionValues::ffmpegBitrate(text).value_or(0), expected);
}

void TestEncoderSupport::frameSizes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QSize>("expected"); // invalid: refused

    QTest::newRow("320x240") << u"320x240"_s << QSize(320, 240);
    QTest::newRow("capital X") << u"720X306"_s << QSize(720, 306);
    QTest::newRow("原始大小 is no size") << u"原始大小"_s << QSize();
    QTest::newRow("blank inside") << u"320 x240"_s << QSize();
    QTest::newRow("zero side") << u"0x240"_s << QSize();
    QTest::newRow("over 8192") << u"8193x240"_s << QSize();
    QTest::newRow("one side") << u"320"_s << QSize();
}

void TestEncoderSupport::frameSizes()
{
    QFETCH(QString, text);
    QFETCH(QSize, expected);
    QCOMPARE(OptionValues::frameSize(text).value_or(QSize()), expected);
}

void TestEncoderSupport::frameRates_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected"); // 0: refused

    QTest::newRow("29") << u"29"_s << 29.0;
    QTest::newRow("29.97") << u"29.97"_s << 29.97;
    QTest::newRow("fraction") << u"24000/1001"_s << 24000.0 / 1001.0;
    QTest::newRow("zero denominator") << u"24/0"_s << 0.0;
    QTest::newRow("zero") << u"0"_s << 0.0;
    QTest::newRow("letters") << u"24p"_s << 0.0;
}

void TestEncoderSupport::frameRates()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(OptionValues::frameRate(text).value_or(0.0), expected);
}

void TestEncoderSupport::toolLocation_data()
{
    QTest::addColumn<QString>("chosen"); // ZENVORA_FFMPEG, relative to the test folder
    QTest::addColumn<QString>("path");   // PATH, relative to the test folder
    QTest::addColumn<QString>("ffmpeg");
    QTest::addColumn<QString>("error");

    QTest::newRow("from PATH") << QString() << u"bin"_s << u"bin/ffmpeg"_s << QString();
    QTest::newRow("chosen") << u"own/ffmpeg"_s << u"bin"_s << u"own/ffmpeg"_s << QString();
    QTest::newRow("chosen file missing")
        << u"none/ffmpeg"_s << u"bin"_s << QString()
        << u"ZENVORA_FFMPEG names \"%1/none/ffmpeg\", which is not an executable file"_s;
    QTest::newRow("nothing on PATH") << QString() << u"empty"_s << QString()
                                     << u"ffmpeg is not installed: no ffmpeg on PATH and "
                                        "ZENVORA_FFMPEG is not set"_s;
}

void TestEncoderSupport::toolLocation()
{
    QFETCH(QString, chosen);
    QFETCH(QString, path);
    QFETCH(QString, ffmpeg);
    QFETCH(QString, error);
    QVERIFY(m_folder.isValid());
    const QDir root(m_folder.path());
    for (const QString &folder : {u"bin"_s, u"own"_s, u"empty"_s})
        QVERIFY(root.mkpath(folder));
    for (const QString &tool : {u"bin/ffmpeg"_s, u"own/ffmpeg"_s})
        makeExecutable(root.filePath(tool));

    QProcessEnvironment environment;
    environment.insert(u"PATH"_s, root.filePath(path));
    if (!chosen.isEmpty())
        environment.insert(u"ZENVORA_FFMPEG"_s, root.filePath(chosen));
    const ToolLocator::Tools tools = ToolLocator::locate(environment);
    const auto full = [&](const QString &relative) {
        return relative.isEmpty() ? QString() : root.filePath(relative);
    };
    QCOMPARE(tools.error, error.contains(u"%1"_s) ? error.arg(root.path()) : error);
    QCOMPARE(tools.ffmpeg, full(ffmpeg));
}

void TestEncoderSupport::numberedNames_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("expected");

    QTest::newRow("the target itself")
        << u"/v/Zenvora/clip-957.mp4"_s << 1 << u"/v/Zenvora/clip-957.mp4"_s;
    QTest::newRow("second") << u"/v/Zenvora/clip-957.mp4"_s << 2 << u"/v/Zenvora/clip-957-2.mp4"_s;
    QTest::newRow("twelfth") << u"/v/Zenvora/clip-957.rmvb"_s << 12
                             << u"/v/Zenvora/clip-957-12.rmvb"_s;
    QTest::newRow("already numbered") << u"/v/clip-957-2.mp4"_s << 2 << u"/v/clip-957-2-2.mp4"_s;
    QTest::newRow("only the last extension") << u"/v/a.b.c.mpg"_s << 3 << u"/v/a.b.c-3.mpg"_s;
    QTest::newRow("dot in a folder, none in the name")
        << u"/v/my.videos/clip"_s << 2 << u"/v/my.videos/clip-2"_s;
    QTest::newRow("hidden file") << u"/v/.clip"_s << 2 << u"/v/.clip-2"_s;
    QTest::newRow("hidden file with extension") << u"/v/.clip.mp3"_s << 2 << u"/v/.clip-2.mp3"_s;
    QTest::newRow("trailing dot") << u"/v/clip."_s << 2 << u"/v/clip-2."_s;
    QTest::newRow("relative") << u"视频 \"x\".avi"_s << 2 << u"视频 \"x\"-2.avi"_s;
}

void TestEncoderSupport::numberedNames()
{
    QFETCH(QString, path);
    QFETCH(int, number);
    QFETCH(QString, expected);
    QCOMPARE(NumberedName::of(path, number), expected);
}

void TestEncoderSupport::subtitleEncodings_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("encoding");

    const QString simplified = u"1\n00:00:01,000 --> 00:00:02,000\n我们走吧，这是你的车。\n"_s;
    const QString traditional = u"1\n00:00:01,000 --> 00:00:02,000\n我們走吧，這是你的車。\n"_s;
    const auto encoded = [](const QString &text, const char *encoding) {
        QStringEncoder encoder(encoding);
        return QByteArray(encoder.encode(text));
    };
    QTest::newRow("UTF-8") << simplified.toUtf8() << QByteArray("UTF-8");
    QTest::newRow("UTF-8 with a byte order mark")
        << QByteArray("\xEF\xBB\xBF" + simplified.toUtf8()) << QByteArray("UTF-8");
    QTest::newRow("UTF-16LE with a mark")
        << QByteArray("\xFF\xFE" + encoded(simplified, "UTF-16LE")) << QByteArray("UTF-16LE");
    QTest::newRow("UTF-16BE without a mark")
        << encoded(simplified, "UTF-16BE") << QByteArray("UTF-16BE");
    QTest::newRow("GBK, simplified") << encoded(simplified, "GB18030") << QByteArray("GB18030");
    QTest::newRow("GBK, traditional") << encoded(traditional, "GB18030") << QByteArray("GB18030");
    QTest::newRow("Big5, traditional") << encoded(traditional, "Big5") << QByteArray("Big5");
    QTest::newRow("plain ASCII") << QByteArray("1\n00:00:01,000 --> 00:00:02,000\nHello\n")
                                 << QByteArray("UTF-8");
}

void TestEncoderSupport::subtitleEncodings()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, encoding);
    QCOMPARE(SubtitleText::encodingOf(bytes), encoding);
    const QString text = SubtitleText::decode(bytes);
    QVERIFY2(text.startsWith(u"1\n00:00:01,000"_s), qPrintable(text));
    QVERIFY(!text.contains(QChar::ReplacementCharacter));
}

void TestEncoderSupport::subtitleFiles_data()
{
    QTest::addColumn<QString>("video");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("Chinese first, then the others by name")
        << u"Film.2020"_s
        << QStringList{u"Film.2020.en.srt"_s,    u"Film.2020.srt"_s,     u"Film.2020.cht.ass"_s,
                       u"Film.2020.zh-CN.srt"_s, u"Film.2020.chs.ass"_s, u"Film.2020.mkv"_s}
        << QStringList{u"Film.2020.chs.ass"_s, u"Film.2020.cht.ass"_s, u"Film.2020.zh-CN.srt"_s,
                       u"Film.2020.en.srt"_s, u"Film.2020.srt"_s};
    QTest::newRow("every subtitle format, any case")
        << u"clip"_s << QStringList{u"CLIP.SRT"_s, u"clip.vtt"_s, u"clip.ssa"_s, u"clip.sub"_s}
        << QStringList{u"CLIP.SRT"_s, u"clip.ssa"_s, u"clip.vtt"_s};
    QTest::newRow("another video's subtitles are not this one's")
        << u"clip"_s
        << QStringList{u"clip.part2.srt"_s, u"clip2.srt"_s, u"clip.srt.bak"_s, u"my clip.srt"_s}
        << QStringList{};
}

void TestEncoderSupport::subtitleFiles()
{
    QFETCH(QString, video);
    QFETCH(QStringList, names);
    QFETCH(QStringList, expected);
    QCOMPARE(SubtitleSearch::matching(video, names), expected);
}

void TestEncoderSupport::subtitleContents_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<bool>("subtitles");

    QTest::newRow("SubRip") << u"1\n00:00:01,000 --> 00:00:02,000\n你好\n"_s << u"SRT"_s << true;
    QTest::newRow("ASS") << u"[Script Info]\n[Events]\nDialogue: 0,0:00:01.00,..."_s << u"ass"_s
                         << true;
    QTest::newRow("WebVTT") << u"WEBVTT\n\n00:01.000 --> 00:02.000\nhi\n"_s << u"vtt"_s << true;
    QTest::newRow("a page saved under a subtitle's name")
        << u"<html><body>404</body></html>"_s << u"srt"_s << false;
    QTest::newRow("SubRip named .ass")
        << u"1\n00:00:01,000 --> 00:00:02,000\nhi\n"_s << u"ass"_s << false;
}

void TestEncoderSupport::subtitleContents()
{
    QFETCH(QString, text);
    QFETCH(QString, extension);
    QFETCH(bool, subtitles);
    QCOMPARE(SubtitleText::isSubtitles(text, extension), subtitles);
}

void TestEncoderSupport::shownSubtitleTrack_data()
{
    QTest::addColumn<QList<MediaInfo::Subtitle>>("tracks");
    QTest::addColumn<int>("shown"); // stream index, -1 for none

    const MediaInfo::Subtitle english{2, u"subrip"_s, u"eng"_s};
    QTest::newRow("none flagged") << QList<MediaInfo::Subtitle>{english} << -1;
    QTest::newRow("the forced picture track")
        << QList<MediaInfo::Subtitle>{english, {3, u"dvd_subtitle"_s, u"chi"_s, false, true, true}}
        << 3;
    QTest::newRow("teletext cannot be drawn in: the next flagged one")
        << QList<MediaInfo::Subtitle>{{2, u"dvb_teletext"_s, {}, true},
                                      {3, u"ass"_s, u"chi"_s, true}}
        << 3;
}

void TestEncoderSupport::shownSubtitleTrack()
{
    QFETCH(QList<MediaInfo::Subtitle>, tracks);
    QFETCH(int, shown);
    MediaInfo input;
    input.subtitleTracks = tracks;
    const std::optional<MediaInfo::Subtitle> track = TrackChoice::shownSubtitle(input);
    QCOMPARE(track ? track->index : -1, shown);
}

// ffmpeg's first complaint and the error strings of the encoders' own file
// calls, as they read on a full disk, a read-only drive, a locked folder.
void TestEncoderSupport::audioTrackForms_data()
{
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("track"); // as the program writes it; null when it names none
    QTest::addColumn<bool>("noted");    // an encoder that reads it says it takes the default
    QTest::newRow("a number") << u"2"_s << u"2"_s << false;
    QTest::newRow("leading zeros") << u"007"_s << u"7"_s << false;
    QTest::newRow("a language of three letters") << u"chi"_s << u"chi"_s << false;
    QTest::newRow("a language in capitals") << u"ZH"_s << u"zh"_s << false;
    QTest::newRow("nothing is the default") << QString() << QString() << false;
    QTest::newRow("track 0") << u"0"_s << QString() << true;
    QTest::newRow("a sign") << u"+2"_s << QString() << true;
    QTest::newRow("a blank") << u" 2"_s << QString() << true;
    QTest::newRow("past an int") << u"99999999999"_s << QString() << true;
    QTest::newRow("a full-width digit") << u"２"_s << QString() << true;
    QTest::newRow("a language with a region") << u"zh-CN"_s << QString() << true;
    QTest::newRow("a language's name") << u"english"_s << QString() << true;
}

// zenvora-cli refuses what this form refuses; an encoder given it by hand
// converts the default track and says why.
void TestEncoderSupport::audioTrackForms()
{
    QFETCH(QString, given);
    QFETCH(QString, track);
    QFETCH(bool, noted);
    const std::optional<JobChoices::AudioTrack> read = JobChoices::AudioTrack::fromText(given);
    QCOMPARE(read.has_value(), !track.isNull());
    QCOMPARE(read.value_or(JobChoices::AudioTrack{}).text(), track);

    QProcessEnvironment environment;
    environment.insert(JobChoices::AudioTrackVariable, given);
    QStringList notes;
    const JobChoices choices = JobChoices::readFrom(environment, notes);
    QCOMPARE(choices.audioTrack, read.value_or(JobChoices::AudioTrack{}));
    QCOMPARE(notes.size(), noted ? 1 : 0);
}

void TestEncoderSupport::errorWords_data()
{
    using Cause = EncoderProtocol::FailureCause;
    QTest::addColumn<QString>("message");
    QTest::addColumn<Cause>("cause");
    QTest::newRow("ffmpeg writing on a full disk")
        << u"av_interleaved_write_frame(): No space left on device"_s << Cause::DiskFull;
    QTest::newRow("over the quota")
        << u"Error writing trailer of file:/o/a.mp4: Disk quota exceeded"_s << Cause::DiskFull;
    QTest::newRow("a locked folder")
        << u"cannot write the output file \"/o/a.mp4\": Permission denied"_s << Cause::NoPermission;
    QTest::newRow("a read-only drive")
        << u"file:/media/cd/a.mp4: Read-only file system"_s << Cause::NoPermission;
    QTest::newRow("anything else")
        << u"Invalid data found when processing input"_s << Cause::EncoderError;
}

void TestEncoderSupport::errorWords()
{
    QFETCH(QString, message);
    QFETCH(EncoderProtocol::FailureCause, cause);
    QCOMPARE(ErrorWords::causeOf(message), cause);
}

QTEST_GUILESS_MAIN(TestEncoderSupport)
#include "tst_encodersupport.moc"
