#include "app/ProgressText.h"
#include "encoders/job/ProgressLines.h"
#include "engine/ActivityIndicator.h"
#include "engine/CoderProgressParser.h"
#include "engine/ConvProgressParser.h"

#include <QFile>
#include <QTest>

#include <cmath>

using namespace Qt::StringLiterals;

// The encoders' progress lines read into values and worded as the window
// and zenvora-cli show them.
class TestProgressText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void indicatorCycle();
    void indicatorSharedAcrossStagesAndJobs();
    void lines_data();
    void lines();

    void stageOne_data();
    void stageOne();
    void stageOneUnchanged_data();
    void stageOneUnchanged();
    void stageOneChunks_data();
    void stageOneChunks();
    void stageOneResetDropsCutGroup();

    void stageTwo_data();
    void stageTwo();
    void stageTwoChunks_data();
    void stageTwoChunks();
    void stageTwoResetForgetsDuration();
    void stageTwoResetDropsCutToken();
    void stageTwoRecordedOutput_data();
    void stageTwoRecordedOutput();
    void encoderLinesReadBack();
};

namespace {

// The duration line of a 125.5 s input, as ffmpeg prints it.
const QString DurationLine = u"  Duration: 00:02:05.50, start: 0.000000, bitrate: 512 kb/s\n"_s;

template <typename Parser> QString captionOf(Parser &parser, const QString &chunk)
{
    const std::optional<Progress> progress = parser.feed(chunk);
    return progress ? ProgressText::caption(*progress) : QString();
}

template <typename Parser> QStringList captionsOf(Parser &parser, const QStringList &chunks)
{
    QStringList captions;
    for (const QString &chunk : chunks)
        captions.append(captionOf(parser, chunk));
    return captions;
}

void addDisplayColumns()
{
    QTest::addColumn<QStringList>("chunks");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("caption");
}

void verifyProgress(const std::optional<Progress> &progress)
{
    QFETCH(double, value);
    QFETCH(QString, caption);
    QVERIFY(progress);
    QCOMPARE(progress->shownPercent(), value);
    QCOMPARE(ProgressText::caption(*progress), caption);
    QCOMPARE(!progress->percent, caption.contains(u"已转换"_s));
    // A log line is the caption's word and what follows the spinner.
    const QString line = ProgressText::line(*progress);
    QVERIFY2(caption.startsWith(line.section(u' ', 0, 0)), qPrintable(line));
}

} // namespace

void TestProgressText::indicatorCycle()
{
    Progress progress{.percent = 42};
    QString turns;
    for (progress.activity = 0; progress.activity < 6; ++progress.activity)
        turns += ProgressText::caption(progress).at(3);
    QCOMPARE(turns, u"-\\|/-\\"_s);
}

void TestProgressText::indicatorSharedAcrossStagesAndJobs()
{
    ActivityIndicator indicator;
    ConvProgressParser one(indicator);
    CoderProgressParser two(indicator);

    QCOMPARE(captionOf(one, u"( 1%)"_s), u"转换中\\ 1%"_s);
    QVERIFY(!two.feed(DurationLine));
    QCOMPARE(captionOf(one, u"( 2%)"_s), u"转换中/ 2%"_s);
    // A new job: the parsers start afresh, the indicator goes on turning.
    two.reset();
    one.reset();
    QCOMPARE(captionOf(two, DurationLine + u"time=63.00 "_s), u"创建中- 50%"_s);
    QCOMPARE(captionOf(one, u"( 3%)"_s), u"转换中\\ 3%"_s);
}

void TestProgressText::lines_data()
{
    QTest::addColumn<Progress>("progress");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("line");

    const Progress conv{.percent = 42, .activity = 1};
    const Progress coder{.style = EncoderStyle::Coder, .durationSeconds = 126, .activity = 2};
    QTest::newRow("converting") << conv << u"转换中\\ 42%"_s << u"转换中 42%"_s;
    Progress finished = conv;
    finished.finished = true;
    finished.percent = 100;
    QTest::newRow("conv finished") << finished << u"结束 100%"_s << u"结束 100%"_s;
    Progress creating = coder;
    creating.percent = 9.52380952380952;
    QTest::newRow("creating") << creating << u"创建中| 9.52%"_s << u"创建中 9.52%"_s;
    // The caption keeps the four characters it cuts; the line tells the number.
    creating.percent = 10.0476190476190;
    QTest::newRow("cut to a zero") << creating << u"创建中| 10.0%"_s << u"创建中 10%"_s;
    Progress busy = coder;
    busy.durationSeconds = 0;
    busy.elapsedSeconds = 65;
    QTest::newRow("length unknown") << busy << u"创建中| 已转换 1:05"_s << u"创建中 已转换 1:05"_s;
    Progress complete = coder;
    complete.finished = true;
    complete.percent = 100;
    QTest::newRow("coder finished") << complete << u"完成 100%"_s << u"完成 100%"_s;
}

void TestProgressText::lines()
{
    QFETCH(Progress, progress);
    QFETCH(QString, caption);
    QFETCH(QString, line);
    QCOMPARE(ProgressText::caption(progress), caption);
    QCOMPARE(ProgressText::line(progress), line);
}

void TestProgressText::stageOne_data()
{
    addDisplayColumns();
    // One chunk each, so the indicator has turned once to "\".
    QTest::newRow("blank, digit, percent")
        << QStringList{u"Pos: 10.0s 250f ( 7%) 25fps"_s} << 7.0 << u"转换中\\ 7%"_s;
    QTest::newRow("two digits") << QStringList{u"Pos: 60.1s 1502f (42%) "_s} << 42.0
                                << u"转换中\\ 42%"_s;
    QTest::newRow("finished") << QStringList{u"a (100%) group"_s} << 100.0 << u"结束 100%"_s;
    QTest::newRow("hundred without percent sign")
        << QStringList{u"(100)"_s} << 100.0 << u"转换中\\ 100%"_s;
    QTest::newRow("letters read as 0") << QStringList{u"x (abc) y"_s} << 0.0 << u"转换中\\ 0%"_s;
    QTest::newRow("half to even") << QStringList{u"(2.5%)"_s} << 2.0 << u"转换中\\ 2%"_s;
    QTest::newRow("first group wins") << QStringList{u"(12%) (34%)"_s} << 12.0 << u"转换中\\ 12%"_s;
    QTest::newRow("above the range clamped")
        << QStringList{u"(123)"_s} << 100.0 << u"转换中\\ 100%"_s;
    QTest::newRow("below the range clamped") << QStringList{u"(-5%)"_s} << 0.0 << u"转换中\\ 0%"_s;
}

void TestProgressText::stageOne()
{
    QFETCH(QStringList, chunks);
    ActivityIndicator indicator;
    ConvProgressParser parser(indicator);
    std::optional<Progress> progress;
    for (const QString &chunk : chunks)
        progress = parser.feed(chunk);
    verifyProgress(progress);
}

void TestProgressText::stageOneUnchanged_data()
{
    QTest::addColumn<QString>("chunk");
    QTest::newRow("no group") << u"Writing index..."_s;
    QTest::newRow("empty") << QString();
    QTest::newRow("two characters in parentheses") << u"(ab) and more text"_s;
    QTest::newRow("five characters in parentheses") << u"(12345) and more text"_s;
    QTest::newRow("shorter than a group") << u"(4"_s;
}

void TestProgressText::stageOneUnchanged()
{
    QFETCH(QString, chunk);
    ActivityIndicator indicator;
    ConvProgressParser parser(indicator);
    QVERIFY(!parser.feed(chunk));
    QCOMPARE(indicator.turns, 1u);
}

void TestProgressText::stageOneChunks_data()
{
    QTest::addColumn<QStringList>("chunks");
    QTest::addColumn<QStringList>("captions"); // empty: display unchanged

    QTest::newRow("split after the parenthesis")
        << QStringList{u"Pos: 1.0s 25f ("_s, u"42%) 25fps"_s}
        << QStringList{QString(), u"转换中| 42%"_s};
    QTest::newRow("split inside the number") << QStringList{u"Pos: 1.0s 25f (4"_s, u"2%) 25fps"_s}
                                             << QStringList{QString(), u"转换中| 42%"_s};
    QTest::newRow("split before the closing parenthesis")
        << QStringList{u"(100%"_s, u")\n"_s} << QStringList{QString(), u"结束 100%"_s};
    QTest::newRow("whole group shown, cut group kept")
        << QStringList{u"(12%) ( 3"_s, u"4%)"_s}
        << QStringList{u"转换中\\ 12%"_s, u"转换中| 34%"_s};
    QTest::newRow("group over three chunks") << QStringList{u"("_s, u"7"_s, u"7%)"_s}
                                             << QStringList{QString(), QString(), u"转换中/ 77%"_s};
    QTest::newRow("indicator turns with every chunk")
        << QStringList{u"( 1%)"_s, u"nothing"_s, u"( 2%)"_s, u"( 3%)"_s, u"( 4%)"_s}
        << QStringList{u"转换中\\ 1%"_s, QString(), u"转换中/ 2%"_s, u"转换中- 3%"_s,
                       u"转换中\\ 4%"_s};
}

void TestProgressText::stageOneChunks()
{
    QFETCH(QStringList, chunks);
    QFETCH(QStringList, captions);
    ActivityIndicator indicator;
    ConvProgressParser parser(indicator);
    QCOMPARE(captionsOf(parser, chunks), captions);
}

void TestProgressText::stageOneResetDropsCutGroup()
{
    ActivityIndicator indicator;
    ConvProgressParser parser(indicator);
    QVERIFY(!parser.feed(u"Pos: 1.0s 25f (4"_s));
    parser.reset();
    QVERIFY(!parser.feed(u"2%) 25fps"_s));
}

void TestProgressText::stageTwo_data()
{
    addDisplayColumns();
    QTest::addColumn<double>("duration");

    // After the duration chunk and one more the indicator shows "|".
    QTest::newRow("12 of 126 s")
        << QStringList{DurationLine,
                       u"frame= 300 fps= 25 q=2.0 size= 1024kB time=12.00 bitrate= 699.1kbits/s"_s}
        << 9.52 << u"创建中| 9.52%"_s << 126.0;
    QTest::newRow("63 of 126 s") << QStringList{DurationLine, u"time=63.00 bitrate="_s} << 50.0
                                 << u"创建中| 50%"_s << 126.0;
    QTest::newRow("125 of 126 s") << QStringList{DurationLine, u"time=125.00 bitrate="_s} << 99.2
                                  << u"创建中| 99.2%"_s << 126.0;
    QTest::newRow("126 of 126 s") << QStringList{DurationLine, u"time=126.00 bitrate="_s} << 100.0
                                  << u"完成 100%"_s << 126.0;
    QTest::newRow("past the duration")
        << QStringList{DurationLine, u"time=300.00 bitrate="_s} << 100.0 << u"完成 100%"_s << 126.0;
    QTest::newRow("duration and time in one chunk")
        << QStringList{DurationLine + u"frame= 1 time=63.00 bitrate="_s} << 50.0
        << u"创建中\\ 50%"_s << 126.0;
    QTest::newRow("duration not available")
        << QStringList{u"  Duration: N/A, start: 0.000000, bitrate: N/A\n"_s, u"time=5.00 "_s}
        << 0.0 << u"创建中| 已转换 0:05"_s << 0.0;
    QTest::newRow("no duration seen")
        << QStringList{u"time=65.00 "_s} << 0.0 << u"创建中\\ 已转换 1:05"_s << 0.0;
    QTest::newRow("unreadable duration")
        << QStringList{u"Duration: 00:xx:05.00, start\n"_s, u"time=5.00 "_s} << 0.0
        << u"创建中| 已转换 0:05"_s << 0.0;
    QTest::newRow("half a second is unknown")
        << QStringList{u"Duration: 00:00:00.50, start\n"_s, u"time=0.00 "_s} << 0.0
        << u"创建中| 已转换 0:00"_s << 0.0;
    QTest::newRow("just over half a second")
        << QStringList{u"Duration: 00:00:00.51, start\n"_s, u"time=0.00 "_s} << 0.0
        << u"创建中| 0%"_s << 1.0;
    QTest::newRow("later duration ignored")
        << QStringList{DurationLine, u"Duration: 00:10:00.00, start\n"_s, u"time=63.00 "_s} << 50.0
        << u"创建中/ 50%"_s << 126.0;
    QTest::newRow("last time of a chunk counts")
        << QStringList{DurationLine, u"time=30.00 bitrate= 1\rframe= 2 time=63.00 bitrate="_s}
        << 50.0 << u"创建中| 50%"_s << 126.0;
    QTest::newRow("time as a clock") << QStringList{DurationLine, u"time=00:01:03.00 bitrate="_s}
                                     << 50.0 << u"创建中| 50%"_s << 126.0;
    QTest::newRow("clock with hours")
        << QStringList{u"Duration: 01:00:00.00, start\n"_s, u"time=00:30:00.00 "_s} << 50.0
        << u"创建中| 50%"_s << 3600.0;
    QTest::newRow("time not available")
        << QStringList{DurationLine, u"time=N/A bitrate="_s} << 0.0 << u"创建中| 0%"_s << 126.0;
    QTest::newRow("negative clock")
        << QStringList{DurationLine, u"time=-577014:32:22.77 bitrate="_s} << 0.0 << u"创建中| 0%"_s
        << 126.0;
    QTest::newRow("negative clock under an hour")
        << QStringList{DurationLine, u"time=-00:00:01.00 bitrate="_s} << 0.0 << u"创建中| 0%"_s
        << 126.0;
}

void TestProgressText::stageTwo()
{
    QFETCH(QStringList, chunks);
    QFETCH(double, duration);
    ActivityIndicator indicator;
    CoderProgressParser parser(indicator);
    std::optional<Progress> progress;
    for (const QString &chunk : chunks)
        progress = parser.feed(chunk);
    verifyProgress(progress);
    // The time left is reckoned in the lengths the progress carries.
    QVERIFY(progress);
    QCOMPARE(progress->durationSeconds, duration);
}

void TestProgressText::stageTwoChunks_data()
{
    QTest::addColumn<QStringList>("chunks");
    QTest::addColumn<QStringList>("captions"); // empty: display unchanged

    QTest::newRow("duration line only") << QStringList{DurationLine} << QStringList{QString()};
    QTest::newRow("duration keyword split")
        << QStringList{u"  Durat"_s, u"ion: 00:02:05.50, start: 0\n"_s, u"time=63.00 "_s}
        << QStringList{QString(), QString(), u"创建中/ 50%"_s};
    QTest::newRow("duration value split")
        << QStringList{u"  Duration: 00:02:0"_s, u"5.50, start: 0\n"_s, u"time=63.00 "_s}
        << QStringList{QString(), QString(), u"创建中/ 50%"_s};
    QTest::newRow("time value split")
        << QStringList{DurationLine, u"frame= 1 time=6"_s, u"3.00 bitrate="_s}
        << QStringList{QString(), QString(), u"创建中/ 50%"_s};
    QTest::newRow("time keyword split")
        << QStringList{DurationLine, u"frame= 1 ti"_s, u"me=63.00 bitrate="_s}
        << QStringList{QString(), QString(), u"创建中/ 50%"_s};
    QTest::newRow("time at the chunk end waits for its blank")
        << QStringList{DurationLine, u"frame= 1 time=63.00"_s, u" bitrate="_s}
        << QStringList{QString(), QString(), u"创建中/ 50%"_s};
    QTest::newRow("carriage return ends a time")
        << QStringList{DurationLine, u"frame= 1 time=63.00\r"_s}
        << QStringList{QString(), u"创建中| 50%"_s};
    QTest::newRow("newline ends a time") << QStringList{DurationLine, u"frame= 1 time=63.00\n"_s}
                                         << QStringList{QString(), u"创建中| 50%"_s};
    QTest::newRow("whole time shown, cut time kept")
        << QStringList{DurationLine, u"time=12.00 bitrate= 1\rframe= 2 time=6"_s, u"3.00 "_s}
        << QStringList{QString(), u"创建中| 9.52%"_s, u"创建中/ 50%"_s};
    QTest::newRow("overlong cut token dropped")
        << QStringList{u"time="_s + QString(CoderProgressParser::LongestKeptToken, u'1'), u"2 "_s}
        << QStringList{QString(), QString()};
}

void TestProgressText::stageTwoChunks()
{
    QFETCH(QStringList, chunks);
    QFETCH(QStringList, captions);
    ActivityIndicator indicator;
    CoderProgressParser parser(indicator);
    QCOMPARE(captionsOf(parser, chunks), captions);
}

void TestProgressText::stageTwoResetForgetsDuration()
{
    ActivityIndicator indicator;
    CoderProgressParser parser(indicator);
    QCOMPARE(captionOf(parser, DurationLine + u"time=63.00 "_s), u"创建中\\ 50%"_s);
    parser.reset();
    const std::optional<Progress> progress = parser.feed(u"time=63.00 "_s);
    QVERIFY(progress);
    QCOMPARE(progress->durationSeconds, 0.0);
    QCOMPARE(ProgressText::caption(*progress), u"创建中| 已转换 1:03"_s);
}

void TestProgressText::stageTwoResetDropsCutToken()
{
    ActivityIndicator indicator;
    CoderProgressParser parser(indicator);
    QVERIFY(!parser.feed(u"frame= 1 time=6"_s));
    parser.reset();
    QVERIFY(!parser.feed(u"3.00 bitrate="_s));
}

void TestProgressText::stageTwoRecordedOutput_data()
{
    QTest::addColumn<int>("chunkSize");
    QTest::addColumn<bool>("everyTimeRead");
    for (const int size : {1, 2, 7, 64})
        QTest::addRow("%d-character chunks", size) << size << true;
    // Chunks as large as the runner's: fewer displays, same outcome.
    QTest::newRow("1024-character chunks") << 1024 << false;
}

// ffmpeg 5.1 converting a 4 s clip, recorded with its \r-ended progress
// lines; 17 times from 00:00:00.04 to 00:00:04.03.
void TestProgressText::stageTwoRecordedOutput()
{
    QFETCH(int, chunkSize);
    QFETCH(bool, everyTimeRead);

    QFile file(QString::fromUtf8(ZENVORA_TEST_DATA "/ffmpeg-5.1-progress.txt"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString output = QString::fromUtf8(file.readAll());

    ActivityIndicator indicator;
    CoderProgressParser parser(indicator);
    QList<double> values;
    std::optional<Progress> last;
    for (qsizetype at = 0; at < output.size(); at += chunkSize) {
        if (const std::optional<Progress> progress = parser.feed(output.mid(at, chunkSize))) {
            values.append(progress->shownPercent());
            last = progress;
        }
    }

    QVERIFY(last);
    QCOMPARE(last->durationSeconds, 4.0);
    QCOMPARE(ProgressText::caption(*last), u"完成 100%"_s);
    QVERIFY(std::is_sorted(values.begin(), values.end()));
    if (everyTimeRead) {
        const QList<double> expected{0,  0,  25, 25, 25, 25,  50,  50, 50,
                                     50, 75, 75, 75, 75, 100, 100, 100};
        QCOMPARE(values, expected);
    } else {
        QVERIFY(!values.isEmpty());
    }
}

// What the encoders print is what the parsers read.
void TestProgressText::encoderLinesReadBack()
{
    ActivityIndicator indicator;
    ConvProgressParser conv(indicator);
    CoderProgressParser coder(indicator);
    ProgressReader::Snapshot snapshot;
    snapshot.outSeconds = 10;
    QCOMPARE(captionOf(conv, ProgressLines::convLine(snapshot, 140.0)), u"转换中\\ 7%"_s);
    QCOMPARE(captionOf(conv, ProgressLines::convFinishedLine(snapshot)), u"结束 100%"_s);

    MediaInfo input;
    QVERIFY(!coder.feed(ProgressLines::coderDurationLine(input, 126.0) + u'\n'));
    snapshot.outSeconds = 12;
    const std::optional<Progress> progress = coder.feed(ProgressLines::coderLine(snapshot) + u'\r');
    QVERIFY(progress);
    QCOMPARE(progress->durationSeconds, 126.0);
    QCOMPARE(progress->elapsedSeconds, 12.0);
    QCOMPARE(ProgressText::caption(*progress), u"创建中- 9.52%"_s);
    QCOMPARE(captionOf(coder, ProgressLines::coderFinishedLine(snapshot, 126.0) + u'\r'),
             u"完成 100%"_s);

    // A length the encoder does not know leaves the time converted so far.
    coder.reset();
    QVERIFY(!coder.feed(ProgressLines::coderDurationLine(input, std::nullopt) + u'\n'));
    QCOMPARE(captionOf(coder, ProgressLines::coderLine(snapshot) + u'\r'),
             u"创建中/ 已转换 0:12"_s);
}

QTEST_GUILESS_MAIN(TestProgressText)
#include "tst_progresstext.moc"
