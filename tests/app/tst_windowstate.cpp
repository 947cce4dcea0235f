#include "app/BatchStatus.h"
#include "app/ParameterView.h"
#include "app/QueueStore.h"

#include "engine/ConversionCombos.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestWindowState : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void unusedParameterShowsWhatTheOutputHas_data();
    void unusedParameterShowsWhatTheOutputHas();
    void offersEntriesTheFormatTakes_data();
    void offersEntriesTheFormatTakes();
    void statusLineFollowsBatch_data();
    void statusLineFollowsBatch();
    void barRunsOncePerJob();
    void timeLeftCountsSideBySideJobs();
    void queueSurvivesUntilOfferAnswered();
    void queueThatCannotBeWrittenIsOnlyWarned();
};

void TestWindowState::offersEntriesTheFormatTakes_data()
{
    QTest::addColumn<OutputFormat>("format");
    QTest::addColumn<Parameter>("parameter");
    QTest::addColumn<ConversionCombo>("combo");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<bool>("offered");
    const QString quality = ConversionSettings::QualityBitrate.toString();
    const QString sourceRate = ConversionSettings::SourceFrameRate.toString();
    const auto videoBitrate = ConversionCombo::VideoBitrate;
    const auto frameRate = ConversionCombo::FrameRate;
    QTest::newRow("h264 quality") << OutputFormat::H264Mp4 << Parameter::VideoBitrate
                                  << videoBitrate << quality << true;
    QTest::newRow("webm source rate")
        << OutputFormat::Vp9Webm << Parameter::FrameRate << frameRate << sourceRate << true;
    QTest::newRow("mpg quality") << OutputFormat::Mpg << Parameter::VideoBitrate << videoBitrate
                                 << quality << false;
    QTest::newRow("avi source rate")
        << OutputFormat::Avi << Parameter::FrameRate << frameRate << sourceRate << false;
    QTest::newRow("mpg a number") << OutputFormat::Mpg << Parameter::VideoBitrate << videoBitrate
                                  << u"600"_s << true;
    QTest::newRow("mpg source size")
        << OutputFormat::Mpg << Parameter::Size << ConversionCombo::Size
        << ConversionSettings::SourceSize.toString() << true;
    // A value the codec moves to another entry is that entry's to offer; one
    // it moves to a value no entry has is offered and then shown as moved.
    QTest::newRow("mp3 sound at an AMR bitrate")
        << OutputFormat::Mp4HighQuality << Parameter::AudioBitrate << ConversionCombo::AudioBitrate
        << u"10.2"_s << false;
    QTest::newRow("opus at 44.1 kHz") << OutputFormat::Vp9Webm << Parameter::AudioRate
                                      << ConversionCombo::AudioRate << u"44100"_s << false;
    QTest::newRow("mpeg-2 at 29 fps")
        << OutputFormat::Mpg << Parameter::FrameRate << frameRate << u"29"_s << true;
}

void TestWindowState::offersEntriesTheFormatTakes()
{
    QFETCH(OutputFormat, format);
    QFETCH(Parameter, parameter);
    QFETCH(ConversionCombo, combo);
    QFETCH(QString, entry);
    QFETCH(bool, offered);
    ConversionSettings settings;
    settings.selectFormat(format);
    QCOMPARE(
        ParameterView::offersEntry(settings, parameter, entry, ConversionCombos::entries(combo)),
        offered);
}

void TestWindowState::unusedParameterShowsWhatTheOutputHas_data()
{
    QTest::addColumn<OutputFormat>("format");
    QTest::addColumn<QString>("size");
    QTest::addColumn<Parameter>("parameter");
    QTest::addColumn<QString>("shown"); // empty: the parameter is used
    QTest::addColumn<QString>("tip");
    const QString source = ConversionSettings::SourceSize.toString();
    const QString fileDecides = ParameterView::DependsOnFile.toString();
    const QString otherSizes = u"；选择其他视频尺寸后可以设置"_s;
    QTest::newRow("mp4 hq frame rate")
        << OutputFormat::Mp4HighQuality << source << Parameter::FrameRate << fileDecides
        << u"此格式的帧率跟随源文件"_s;
    QTest::newRow("mp4 hq audio rate")
        << OutputFormat::Mp4HighQuality << source << Parameter::AudioRate << fileDecides
        << u"此格式的声音频率跟随源文件"_s;
    QTest::newRow("mp4 hq size") << OutputFormat::Mp4HighQuality << u"640x480"_s << Parameter::Size
                                 << fileDecides << u"此格式的视频尺寸跟随源文件"_s;
    QTest::newRow("mp4 hq video bitrate") << OutputFormat::Mp4HighQuality << source
                                          << Parameter::VideoBitrate << QString() << QString();
    QTest::newRow("mpg audio rate") << OutputFormat::Mpg << source << Parameter::AudioRate
                                    << fileDecides << u"此格式的声音频率跟随源文件"_s;
    QTest::newRow("mpg frame rate")
        << OutputFormat::Mpg << source << Parameter::FrameRate << QString() << QString();
    QTest::newRow("mov audio bitrate") << OutputFormat::Mov << source << Parameter::AudioBitrate
                                       << u"128"_s << u"此格式的声音比特率固定为 128"_s;
    QTest::newRow("mov audio rate") << OutputFormat::Mov << u"640x480"_s << Parameter::AudioRate
                                    << u"48000"_s << u"此格式的声音频率固定为 48000"_s;
    QTest::newRow("mov channels") << OutputFormat::Mov << source << Parameter::Channels
                                  << u"双声道"_s << u"此格式的声道固定为双声道"_s;
    QTest::newRow("mov video bitrate") << OutputFormat::Mov << source << Parameter::VideoBitrate
                                       << fileDecides << u"此格式的视频比特率由编码器按画质决定"_s;
    QTest::newRow("rmvb at source size, audio bitrate")
        << OutputFormat::Rmvb << source << Parameter::AudioBitrate << u"128"_s
        << u"此格式的声音比特率固定为 128"_s + otherSizes;
    QTest::newRow("rmvb at source size, video bitrate")
        << OutputFormat::Rmvb << source << Parameter::VideoBitrate << u"1200"_s
        << u"此格式的视频比特率固定为 1200"_s + otherSizes;
    QTest::newRow("rmvb at source size, frame rate")
        << OutputFormat::Rmvb << source << Parameter::FrameRate << fileDecides
        << u"此格式的帧率跟随源文件"_s;
    QTest::newRow("rmvb at 640x480, audio bitrate")
        << OutputFormat::Rmvb << u"640x480"_s << Parameter::AudioBitrate << QString() << QString();
    QTest::newRow("3gp audio rate")
        << OutputFormat::ThreeGpMobile << u"320x240"_s << Parameter::AudioRate << u"8000"_s
        << u"此格式的声音频率固定为 8000"_s;
    QTest::newRow("3gp channels") << OutputFormat::ThreeGpMobile << u"320x240"_s
                                  << Parameter::Channels << u"单声道"_s
                                  << u"此格式的声道固定为单声道"_s;
    QTest::newRow("mp3 size") << OutputFormat::Mp3Audio << source << Parameter::Size << fileDecides
                              << u"此格式只有声音，不用视频尺寸"_s;
    QTest::newRow("mp3 channels") << OutputFormat::Mp3Audio << source << Parameter::Channels
                                  << QString() << QString();
}

void TestWindowState::unusedParameterShowsWhatTheOutputHas()
{
    QFETCH(OutputFormat, format);
    QFETCH(QString, size);
    QFETCH(Parameter, parameter);
    QFETCH(QString, shown);
    QFETCH(QString, tip);
    ConversionSettings settings = ConversionSettings::startupDefaults();
    settings.selectFormat(format);
    settings.size = size;
    const auto unused = ParameterView::unusedParameter(settings, parameter);
    QCOMPARE(unused.has_value(), !shown.isEmpty());
    if (unused) {
        QCOMPARE(unused->shown, shown);
        QCOMPARE(unused->tip, tip);
    }
}

void TestWindowState::statusLineFollowsBatch_data()
{
    QTest::addColumn<bool>("stopped");
    QTest::addColumn<QString>("end");
    QTest::newRow("finished") << false << u"完成：1 个成功，1 个失败"_s;
    QTest::newRow("stopped") << true << u"已停止：1 个已完成，2 个未转换，1 个失败"_s;
}

void TestWindowState::barRunsOncePerJob()
{
    qint64 now = 0;
    BatchStatus model([&now] { return now; });
    const auto bar = [&model](double value, int stage, int stages, JobQueue::JobId job) {
        Progress display{.percent = value};
        display.stage = stage;
        display.stages = stages;
        return model.barValue(display, job);
    };
    model.batchStarted();
    QCOMPARE(bar(37, 1, 1, 1), 37);
    // Until a two-stage job has finished, the first stage takes the default share.
    model.jobStarted(u"/a.avi"_s, 2, 2);
    QCOMPARE(bar(50, 1, 2, 2), 3);
    now += 10'000;
    QCOMPARE(bar(0, 2, 2, 2), 5);
    QCOMPARE(bar(50, 2, 2, 2), 53);
    now += 30'000;
    model.jobFinished({u"/a.avi"_s, Outcome::Converted{}}, 2, 1);
    // Then the share it really took: 10 s of 40 s.
    model.jobStarted(u"/b.avi"_s, 3, 1);
    QCOMPARE(bar(100, 1, 2, 3), 25);
    QCOMPARE(bar(100, 2, 2, 3), 100);

    // Side by side, the bar follows the job started last, then the next to report.
    model.jobStarted(u"/c.avi"_s, 4, 2);
    QVERIFY(model.follows(4) && !model.follows(3));
    model.jobFinished({u"/c.avi"_s, Outcome::Converted{}}, 4, 1);
    QVERIFY(model.follows(3));
}

void TestWindowState::statusLineFollowsBatch()
{
    QFETCH(bool, stopped);
    QFETCH(QString, end);
    qint64 now = 5000;
    BatchStatus model([&now] { return now; });
    QSignalSpy changed(&model, &BatchStatus::statusTextChanged);
    model.batchStarted();
    model.jobStarted(u"/clips/a.avi"_s, 1, 4);
    QCOMPARE(model.statusText(), u"第 1/4 个：a.avi"_s);
    now += 10'000;
    model.jobFinished({u"/clips/a.avi"_s, Outcome::Converted{u"/out/a.mpg"_s}}, 1, 3);
    // 10 s a file, three files left.
    QCOMPARE(model.statusText(), u"第 1/4 个：a.avi，剩余约 0:30"_s);
    model.jobStarted(u"/clips/b c.avi"_s, 2, 3);
    QCOMPARE(model.statusText(), u"第 2/4 个：b c.avi，剩余约 0:30"_s);
    now += 4'000'003;
    model.jobFinished({u"/clips/b c.avi"_s, Outcome::Failed{}}, 2, 2);
    // The failure tells nothing of the pace: still 10 s for each of the two left.
    QCOMPARE(model.statusText(), u"第 2/4 个：b c.avi，剩余约 0:20"_s);
    QVERIFY(!model.batchJustEnded());
    model.batchEnded(stopped, 2);
    QCOMPARE(model.statusText(), end);
    QCOMPARE(changed.last().first().toString(), end);
    // A click that was meant for Stop comes too soon to be a new Start.
    now += BatchStatus::StaleClickMilliseconds - 1;
    QVERIFY(model.batchJustEnded());
    now += 1;
    QVERIFY(!model.batchJustEnded());

    // A new batch starts its count afresh.
    model.batchStarted();
    model.jobStarted(u"/clips/d.avi"_s, 3, 1);
    QCOMPARE(model.statusText(), u"第 1/1 个：d.avi"_s);
}

void TestWindowState::timeLeftCountsSideBySideJobs()
{
    qint64 now = 0;
    BatchStatus model([&now] { return now; });
    const auto show = [&model](JobQueue::JobId job, double duration, double value) {
        Progress display{.percent = value};
        display.durationSeconds = duration;
        model.barValue(display, job);
    };
    model.batchStarted(2);
    model.jobStarted(u"/a.avi"_s, 1, 6);
    model.jobStarted(u"/b.avi"_s, 2, 6);
    show(1, 3600, 100);
    show(2, 7200, 50);
    now += 1'800'000;
    model.jobFinished({u"/a.avi"_s, Outcome::Converted{u"/out/a.mpg"_s}}, 1, 5);
    // Twice as fast as it plays: half of b and four files of a's length,
    // 18000 s of media in 9000 s, on two places at once.
    QCOMPARE(model.statusText(), u"第 2/6 个：b.avi，剩余约 1:15:00"_s);
}

void TestWindowState::queueSurvivesUntilOfferAnswered()
{
    QTemporaryDir dir;
    const QString state = dir.filePath(u"state/Zenvora"_s);
    const QStringList first{u"/v/a.avi"_s, u"/v/名字\n换行.mp4"_s};
    {
        QueueStore model(state);
        QVERIFY(model.savedQueue().isEmpty());
        model.queueChanged(first);
        QVERIFY(QFile::exists(model.queueFile()));
    } // a kill leaves the file as the last change wrote it

    QueueStore second(state);
    QCOMPARE(second.savedQueue(), first);
    QCOMPARE(QueueStore::restoreQuestion(2), u"上次有 2 个文件没有转换，是否恢复？"_s);
    // Before the answer, what is queued now goes beside the saved files.
    second.queueChanged({u"/v/c.avi"_s});
    QCOMPARE(QueueStore(state).savedQueue(), first + QStringList{u"/v/c.avi"_s});
    second.offerAnswered();
    QVERIFY(second.savedQueue().isEmpty());
    QCOMPARE(QueueStore(state).savedQueue(), QStringList{u"/v/c.avi"_s});

    second.queueChanged({});
    QVERIFY(!QFile::exists(second.queueFile()));
    QVERIFY(QueueStore(state).savedQueue().isEmpty());
    QVERIFY(QueueStore({}).queueFile().isEmpty());
}

void TestWindowState::queueThatCannotBeWrittenIsOnlyWarned()
{
    QTemporaryDir dir;
    QFile blocker(dir.filePath(u"file"_s));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    QueueStore model(blocker.fileName());
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"queue cannot be kept"_s));
    model.queueChanged({u"/v/a.avi"_s});
    QVERIFY(model.savedQueue().isEmpty());
}

QTEST_GUILESS_MAIN(TestWindowState)
#include "tst_windowstate.moc"
