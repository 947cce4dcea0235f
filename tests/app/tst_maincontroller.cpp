#include "app/ComboTexts.h"
#include "app/MainController.h"
#include "engine/AppPaths.h"
#include "engine/ConversionCombos.h"
#include "tests/helpers/ControllerFixture.h"

#include <QScopeGuard>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QThread>

using namespace Qt::StringLiterals;

using Toggle = MainController::Toggle;

// The window's decisions, driven the way the window drives them, with no
// widget anywhere.
class TestMainController : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void startStopAndCloseFollowTheBatch();
    void formStartsWithTheFirstFormatAndItsDefaults();
    void formIsKeptBetweenRuns();
    void restoredFormatReplacesRestoredAudioChoices();
    void formatChoiceWritesItsDefaults_data();
    void formatChoiceWritesItsDefaults();
    void typedChannelCountsAsNoChannel();
    void setupThatCannotBeSavedIsTold();
    void browsedFolderIsKeptOnCancel();
    void unusedParameterShowsWhatTheOutputHas();
    void addFileQueuesChoicesInDialogOrder_data();
    void addFileQueuesChoicesInDialogOrder();
    void addFolderQueuesByName();
    void unopenablePlacesAreTold_data();
    void unopenablePlacesAreTold();
    void failureMessageWordsItselfByCount_data();
    void failureMessageWordsItselfByCount();
    void failureMessageNamesTheCause_data();
    void failureMessageNamesTheCause();
    void startTriesFailedFilesAgain();
    void couldNotStartIsToldAlone();
    void statusLineTellsPlaceAndEnd();
    void queueIsOfferedBackAtNextStart();
    void filesAtOnceReachTheDriver_data();
    void filesAtOnceReachTheDriver();
    void subtitlesChoiceReachesTheEncoder_data();
    void subtitlesChoiceReachesTheEncoder();
    void desktopHearsOfTheBatch_data();
    void desktopHearsOfTheBatch();
    void encoderThatCannotStartIsToldAsAStop();

private:
    MainController &controller();
    // The program ends and starts again with the same files and settings.
    void nextRun() { m_controller.reset(); }
    // The driver's end of a batch, and what follows once it has returned.
    void endBatch(const BatchReport &report);
    // Converts the fixture's files named to MPG, one stage, with the
    // encoder script given, and waits for the batch's end.
    void convert(const QStringList &names, const QByteArray &encoderScript);

    std::unique_ptr<ControllerFixture> m_fixture;
    bool m_userPresent = true;
    std::unique_ptr<MainController> m_controller;
};

void TestMainController::init()
{
    m_fixture = std::make_unique<ControllerFixture>();
    m_userPresent = true;
}

void TestMainController::cleanup()
{
    m_controller.reset();
    m_fixture.reset();
}

MainController &TestMainController::controller()
{
    if (!m_controller)
        m_controller = std::make_unique<MainController>(m_fixture->services(),
                                                        [this] { return m_userPresent; });
    return *m_controller;
}

void TestMainController::endBatch(const BatchReport &report)
{
    Q_EMIT controller().driver().batchFinished(report);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
}

void TestMainController::convert(const QStringList &names, const QByteArray &encoderScript)
{
    m_fixture->installEncoder(encoderScript);
    for (const QString &name : names)
        controller().jobs().addJob(m_fixture->write(name, "clip"));
    controller().chooseFormat(OutputFormat::Mpg);
    controller().setOutputFolder(m_fixture->dir.filePath(u"out"_s));
    QSignalSpy batchEnd(&controller().driver(), &BatchDriver::batchFinished);
    QCOMPARE(controller().toggleBatch(), Toggle::Started);
    QVERIFY(batchEnd.wait(15000));
}

void TestMainController::startStopAndCloseFollowTheBatch()
{
    MainController &main = controller();
    QSignalSpy running(&main, &MainController::batchRunningChanged);
    QCOMPARE(main.toggleBatch(), Toggle::NeedFiles);
    QCOMPARE(main.closeRequested(), MainController::Closing::Close);

    main.jobs().addJob(m_fixture->dir.filePath(u"a.avi"_s));
    QCOMPARE(main.toggleBatch(), Toggle::Started);
    QVERIFY(main.batchRunning());
    QCOMPARE(main.toggleBatch(), Toggle::AskStop);
    QCOMPARE(main.closeRequested(), MainController::Closing::Ask);

    main.stopConfirmed();
    QVERIFY(!main.batchRunning());
    QCOMPARE(main.closeRequested(), MainController::Closing::Close);
    // A second click on what was the Stop button starts nothing.
    QCOMPARE(main.toggleBatch(), Toggle::Ignored);
    QCOMPARE(main.jobs().jobCount(), 1);
    QVERIFY(m_fixture->messages.questions.isEmpty()); // the window asks, not the controller
    QCOMPARE(running.count(), 2);
}

void TestMainController::formStartsWithTheFirstFormatAndItsDefaults()
{
    const ConversionSettings s = controller().form().settings();
    QCOMPARE(s.format, OutputFormat::Rmvb);
    QCOMPARE((QStringList{s.videoBitrate, s.frameRate, s.size, s.audioRate, s.audioBitrate}),
             (QStringList{u"1200"_s, u"29"_s, u"原始大小"_s, u"44100"_s, u"320"_s}));
    QCOMPARE(s.channelIndex, 1);
    QCOMPARE(s.outputFolder, AppPaths::DefaultOutputFolder());
    QCOMPARE(controller().options().SoundPrompt, 0);
}

void TestMainController::formIsKeptBetweenRuns()
{
    controller().chooseFormat(OutputFormat::Mov);
    controller().setOutputFolder(u"/out"_s);
    QVERIFY(controller().saveSetup());
    nextRun();
    QCOMPARE(controller().form().format(), OutputFormat::Mov);
    QCOMPARE(controller().form().outputFolder(), u"/out"_s);
    // Choosing the format the form has already keeps what was typed.
    controller().setParameter(Parameter::AudioBitrate, u"96"_s);
    controller().chooseFormat(OutputFormat::Mov);
    QCOMPARE(controller().form().value(Parameter::AudioBitrate), u"96"_s);
}

void TestMainController::restoredFormatReplacesRestoredAudioChoices()
{
    // Audio bitrate 3 ("48"), rate 5 ("16000"), mono, a folder, then MP3.
    const QString setup = m_fixture->write(m_fixture->settings.setupPath(),
                                           "\"3\"\r\n\"5\"\r\n\"0\"\r\n\"/data/out\"\r\n\"8\"\r\n");
    m_fixture->write(m_fixture->settings.optionsPath(), "1\r\n0\r\n0\r\n0\r\n");
    const ConversionSettings s = controller().form().settings();
    QCOMPARE(s.format, OutputFormat::Mp3Audio);
    QCOMPARE(s.audioBitrate, u"320"_s);
    QCOMPARE(s.audioRate, u"48000"_s);
    QCOMPARE(s.channelIndex, 1);
    QCOMPARE(s.outputFolder, u"/data/out"_s);
    QCOMPARE(controller().options().SoundPrompt, 1);

    // Saved again, the positions of what the combos now show are written.
    QVERIFY(controller().saveSetup());
    QFile saved(setup);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), QByteArray("\"13\"\r\n\"0\"\r\n\"1\"\r\n\"/data/out\"\r\n\"8\"\r\n"));
}

void TestMainController::formatChoiceWritesItsDefaults_data()
{
    QTest::addColumn<OutputFormat>("format");
    QTest::addColumn<QStringList>("texts"); // video bitrate, frame rate, size, rate, bitrate
    QTest::addColumn<int>("channelIndex");
    QTest::newRow("mpg") << OutputFormat::Mpg
                         << QStringList{u"600"_s, u"24"_s, u"原始大小"_s, u"28000"_s, u"64"_s} << 1;
    QTest::newRow("3gp") << OutputFormat::ThreeGpMobile
                         << QStringList{u"128"_s, u"29"_s, u"320x240"_s, u"8000"_s, u"12.2"_s} << 0;
    // MP3 leaves what the user typed into size, bitrate and frame rate.
    QTest::newRow("mp3") << OutputFormat::Mp3Audio
                         << QStringList{u"typed vb"_s, u"typed f"_s, u"typed s"_s, u"48000"_s,
                                        u"320"_s}
                         << 1;
}

void TestMainController::formatChoiceWritesItsDefaults()
{
    QFETCH(OutputFormat, format);
    QFETCH(QStringList, texts);
    QFETCH(int, channelIndex);
    // Typed where every parameter is used: a format that does not use one
    // keeps the value typed behind what it shows.
    MainController &main = controller();
    main.chooseFormat(OutputFormat::H264Mp4);
    main.setParameter(Parameter::VideoBitrate, u"typed vb"_s);
    main.setParameter(Parameter::FrameRate, u"typed f"_s);
    main.setParameter(Parameter::Size, u"typed s"_s);
    main.setParameter(Parameter::AudioRate, u"typed r"_s);
    main.setParameter(Parameter::Channels, u"单声道"_s);
    main.chooseFormat(format);
    const ConversionSettings s = main.form().settings();
    QCOMPARE((QStringList{s.videoBitrate, s.frameRate, s.size, s.audioRate, s.audioBitrate}),
             texts);
    QCOMPARE(s.channelIndex, channelIndex);
}

void TestMainController::typedChannelCountsAsNoChannel()
{
    MainController &main = controller();
    main.chooseFormat(OutputFormat::H264Mp4);
    main.setParameter(Parameter::Channels, u"立体"_s);
    QCOMPARE(main.form().settings().channelIndex, -1);
    QCOMPARE(main.form().position(ConversionCombo::Channel), -1);
    main.setParameter(Parameter::AudioRate, u"22050"_s);
    QCOMPARE(main.form().position(ConversionCombo::AudioRate), 4);
}

void TestMainController::setupThatCannotBeSavedIsTold()
{
    QVERIFY(QDir().mkpath(m_fixture->settings.setupPath()));
    QVERIFY(!controller().saveSetup());
    QCOMPARE(m_fixture->messages.messages.size(), 1);
    QVERIFY(m_fixture->messages.messages.first().text.endsWith(m_fixture->settings.setupPath()));
}

void TestMainController::browsedFolderIsKeptOnCancel()
{
    m_fixture->folders.answers = {u"/media/films"_s, QString()};
    controller().browseOutputFolder();
    QCOMPARE(controller().form().outputFolder(), u"/media/films"_s);
    controller().browseOutputFolder();
    QCOMPARE(controller().form().outputFolder(), u"/media/films"_s);
    // The second opens at the folder the first chose.
    QCOMPARE(m_fixture->folders.starts.last(), u"/media/films"_s);
}

// Each parameter's words are checked in tst_windowstate; here, what the
// form keeps behind them and how the codec moves what the user picks.
void TestMainController::unusedParameterShowsWhatTheOutputHas()
{
    MainController &main = controller();
    main.chooseFormat(OutputFormat::Mp4HighQuality);
    const ParameterView::State frameRate = main.parameter(Parameter::FrameRate);
    QVERIFY(!frameRate.enabled);
    QCOMPARE(frameRate.shownValue, u"—"_s);
    QCOMPARE(frameRate.tip, u"此格式的帧率跟随源文件"_s);
    QVERIFY(!main.parameter(Parameter::AudioRate).enabled);
    QVERIFY(!main.parameter(Parameter::Channels).enabled);
    QVERIFY(main.parameter(Parameter::VideoBitrate).enabled);
    QCOMPARE(main.parameter(Parameter::VideoBitrate).tip,
             ComboTexts::hoverText(ConversionCombo::VideoBitrate));

    // RealMedia at the source size takes fixed sound, shown instead of the
    // user's value; another size takes the user's value again.
    main.chooseFormat(OutputFormat::Rmvb);
    QVERIFY(!main.parameter(Parameter::AudioBitrate).enabled);
    QCOMPARE(main.parameter(Parameter::AudioBitrate).shownValue, u"128"_s);
    QCOMPARE(main.form().value(Parameter::AudioBitrate), u"320"_s);
    QCOMPARE(main.form().position(ConversionCombo::AudioBitrate),
             ConversionCombos::entries(ConversionCombo::AudioBitrate).indexOf(u"320"_s));
    main.setParameter(Parameter::Size, u"640x480"_s);
    QVERIFY(main.parameter(Parameter::AudioBitrate).enabled);
    QCOMPARE(main.parameter(Parameter::AudioBitrate).shownValue, u"320"_s);
    QVERIFY(!main.parameter(Parameter::FrameRate).enabled);
    // A size is left as typed until the user is done; RealVideo then codes
    // its height in multiples of 16.
    main.setParameter(Parameter::Size, u"640x360"_s);
    QCOMPARE(main.form().value(Parameter::Size), u"640x360"_s);
    main.settleParameters();
    QCOMPARE(main.form().value(Parameter::Size), u"640x352"_s);

    // A value the codec moves is the one the output will have; an entry it
    // moves to another entry is not offered.
    main.chooseFormat(OutputFormat::Mpg);
    main.setParameter(Parameter::FrameRate, u"29"_s);
    main.settleParameters();
    QCOMPARE(main.form().value(Parameter::FrameRate), u"29.97"_s);
    main.chooseFormat(OutputFormat::Mp4HighQuality);
    const QStringList bitrates = main.parameter(Parameter::AudioBitrate).offeredEntries;
    QVERIFY(!bitrates.contains(u"10.2"_s));
    QVERIFY(bitrates.contains(u"32"_s));
}

void TestMainController::addFileQueuesChoicesInDialogOrder_data()
{
    QTest::addColumn<QStringList>("chosen");
    QTest::newRow("cancelled") << QStringList();
    QTest::newRow("one file") << QStringList{u"/clips/b.mp4"_s};
    QTest::newRow("several, in the dialog's order")
        << QStringList{u"/clips/c.avi"_s, u"/clips/A.avi"_s, u"/other/b.mp4"_s};
    QTest::newRow("from a folder that exists") << QStringList{QDir::tempPath() + u"/a.avi"_s};
}

void TestMainController::addFileQueuesChoicesInDialogOrder()
{
    QFETCH(QStringList, chosen);
    const QList<FileOpenRequest> &requests = m_fixture->files.requests;
    m_fixture->files.answers = {chosen};
    controller().addFiles();
    QCOMPARE(controller().jobs().paths(), chosen);
    QCOMPARE(controller().dropHint().isVisible(), chosen.isEmpty());
    QCOMPARE(requests.first().title, u"Open Files"_s);
    QVERIFY(requests.first().multipleFiles);
    // The first dialog opens in the videos folder, or home, never where the program started.
    QVERIFY((QStringList{QStandardPaths::writableLocation(QStandardPaths::MoviesLocation),
                         QDir::homePath()})
                .contains(requests.first().startFolder));

    // The next dialog starts where the last file chosen is, offering it.
    controller().addFiles();
    QCOMPARE(requests.size(), 2);
    const QString last = chosen.isEmpty() ? QString() : QFileInfo(chosen.last()).path();
    if (!chosen.isEmpty()) {
        QCOMPARE(requests.at(1).fileName, chosen.last());
        QCOMPARE(requests.at(1).startFolder, last);
    }

    // So does the first dialog of the next run, while that folder exists.
    nextRun();
    controller().addFiles();
    QCOMPARE(requests.at(2).startFolder == last, QFileInfo(last).isDir());
}

void TestMainController::addFolderQueuesByName()
{
    const QString folder = m_fixture->dir.filePath(u"clips"_s);
    for (const QString &entry : {u"B.avi"_s, u"a.avi"_s, u"10.avi"_s, u"9.avi"_s, u"sub/x.avi"_s,
                                 u"Sub2/y.avi"_s, u"ALPHA/z.avi"_s})
        m_fixture->write(folder + u'/' + entry, "v");
    m_fixture->folders.answers = {folder};
    controller().addFolder();
    QCOMPARE(m_fixture->folders.titles, QStringList{u"选择一个文件夹:"_s});
    // The next chooser, for folders or files, opens in the folder added.
    QCOMPARE(m_fixture->settings.loadLastFolder(), folder);
    QTRY_COMPARE(controller().jobs().jobCount(), 7);
    QStringList expected;
    for (const QString &entry : {u"10.avi"_s, u"9.avi"_s, u"a.avi"_s, u"B.avi"_s, u"ALPHA/z.avi"_s,
                                 u"sub/x.avi"_s, u"Sub2/y.avi"_s})
        expected.append(folder + u'/' + entry);
    QCOMPARE(controller().jobs().paths(), expected);
    QTRY_COMPARE(controller().folderIntake().hintText(), u"拖拽文件到这里开始转换"_s);
}

void TestMainController::unopenablePlacesAreTold_data()
{
    QTest::addColumn<QString>("place");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<QString>("asked"); // of the desktop
    QTest::addColumn<QString>("told");  // the user, when the desktop could not
    const QString web = MainController::ProductWebPage();
    QTest::newRow("web page") << u"web"_s << true << u"open "_s + web << QString();
    QTest::newRow("web page, no browser")
        << u"web"_s << false << u"open "_s + web << u"无法打开网页，请在浏览器中打开："_s + web;
    QTest::newRow("output folder, no file manager")
        << u"output"_s << false << u"show /out/films/ [/out/films/a.mp4]"_s
        << u"无法打开输出文件夹：/out/films/"_s;
    QTest::newRow("a job's folder, no file manager")
        << u"job"_s << false << u"show /w [/w/b.avi]"_s << u"无法打开文件所在的文件夹：/w"_s;
}

void TestMainController::unopenablePlacesAreTold()
{
    QFETCH(QString, place);
    QFETCH(bool, opens);
    QFETCH(QString, asked);
    QFETCH(QString, told);
    m_fixture->desktop.opens = opens;
    MainController &main = controller();
    if (place == u"web") {
        main.openWebPage();
    } else if (place == u"output") {
        Q_EMIT main.driver().openFolderRequested(u"/out/films/"_s, {u"/out/films/a.mp4"_s});
        QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    } else {
        main.jobs().addJobs({u"/v/a.avi"_s, u"/w/b.avi"_s});
        main.openJobFolder(1);
    }
    QCOMPARE(m_fixture->desktop.calls, QStringList{asked});
    QCOMPARE(m_fixture->messages.texts(), told.isEmpty() ? QStringList() : QStringList{told});
}

void TestMainController::failureMessageWordsItselfByCount_data()
{
    QTest::addColumn<QString>("outcomes"); // a letter per job: Converted or Failed
    QTest::addColumn<QString>("heading");
    QTest::newRow("one job, failed") << u"F"_s << u"以下文件没有转换成功："_s;
    QTest::newRow("three jobs, one failed")
        << u"CFC"_s << u"以下文件没有转换成功，其他 2 个文件已完成："_s;
    QTest::newRow("three jobs, two failed")
        << u"FCF"_s << u"以下 2 个文件没有转换成功，其他 1 个文件已完成："_s;
    QTest::newRow("three jobs, all failed") << u"FFF"_s << u"以下 3 个文件没有转换成功："_s;
    QTest::newRow("three jobs, none failed") << u"CCC"_s << QString();
}

void TestMainController::failureMessageWordsItselfByCount()
{
    QFETCH(QString, outcomes);
    QFETCH(QString, heading);
    BatchReport report;
    for (qsizetype i = 0; i < outcomes.size(); ++i) {
        const bool failed = outcomes.at(i) == u'F';
        const Outcome::EncoderRun run{Stage::One, u"conv.exe"_s};
        report.results.append({u"/v/%1.avi"_s.arg(i),
                               failed ? RunOutcome(Outcome::Failed{
                                            Outcome::Failed::Cause::EncoderError, int(i), {}, run})
                                      : RunOutcome(Outcome::Converted{})});
    }
    const QList<RecordingMessageSink::Message> &messages = m_fixture->messages.messages;
    QSignalSpy caption(&controller(), &MainController::progressCaptionShown);
    Q_EMIT controller().driver().batchFinished(report);
    QVERIFY(messages.isEmpty()); // not inside the driver's signal
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    // A Start at once after the end is taken for a late Stop.
    QCOMPARE(controller().toggleBatch(), Toggle::Ignored);
    if (heading.isEmpty()) {
        QVERIFY(messages.isEmpty());
        QCOMPARE(caption.last().first().toString(), u"Done."_s);
        return;
    }
    QCOMPARE(messages.size(), 1);
    const RecordingMessageSink::Message &message = messages.first();
    QCOMPARE(message.caption, u"转换失败"_s);
    QCOMPARE(message.text.section(u'\n', 0, 0), heading);
    // A person reads why; the encoder's own words wait behind the details.
    QVERIFY(!message.text.contains(u"退出码"_s));
    for (qsizetype i = 0; i < outcomes.size(); ++i) {
        const bool failed = outcomes.at(i) == u'F';
        QCOMPARE(message.text.contains(u"/v/%1.avi\n    无法转换这个文件"_s.arg(i)), failed);
        QCOMPARE(message.details.contains(u"/v/%1.avi\n    conv.exe 失败（退出码 %1）"_s.arg(i)),
                 failed);
    }
}

// A cause in a person's words in the message; behind the details, what the
// encoder said first, then the cause, then its last lines. Each cause's
// words are checked in tst_failurewords.
void TestMainController::failureMessageNamesTheCause_data()
{
    QTest::addColumn<RunOutcome>("outcome");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QString>("details"); // their first two lines
    const QString said = u"the output folder \"/o\" does not exist"_s;
    // The last lines hold the line as the encoder printed it.
    QTest::newRow("output folder gone")
        << RunOutcome(Outcome::Failed{Outcome::Failed::Cause::OutputFolder, 1, u"/o"_s,
                                      Outcome::EncoderRun{Stage::One, u"conv.exe"_s,
                                                          u"conv.exe: [token] "_s + said,
                                                          u"conv.exe: "_s + said}})
        << u"无法创建输出文件夹，请选择一个可以写入的文件夹"_s
        << u"conv.exe: the output folder \"/o\" does not exist\n无法创建输出文件夹：/o"_s;
    // A hung encoder's last words are how it took being stopped.
    QTest::newRow("hung") << RunOutcome(Outcome::Hung{
                                 300,
                                 Outcome::EncoderRun{
                                     Stage::One, u"conv.exe"_s,
                                     u"( 5%)\nconv.exe: [stopped-by-signal] stopped by signal 15"_s,
                                     u"conv.exe: stopped by signal 15"_s}})
                          << u"300 秒没有任何输出，转换已被停止"_s
                          << u"conv.exe 已停止：300 秒没有任何输出\n( 5%)"_s;
}

void TestMainController::failureMessageNamesTheCause()
{
    QFETCH(RunOutcome, outcome);
    QFETCH(QString, reason);
    QFETCH(QString, details);
    endBatch({{{u"/v/a.avi"_s, outcome}}, false});
    QCOMPARE(m_fixture->messages.messages.size(), 1);
    const RecordingMessageSink::Message &message = m_fixture->messages.messages.first();
    QCOMPARE(message.text.section(u'\n', 1), u"\n/v/a.avi\n    "_s + reason + u'\n');
    QCOMPARE(message.details.section(u'\n', 0, 2),
             u"/v/a.avi\n    "_s + QString(details).replace(u"\n"_s, u"\n    "_s));
}

void TestMainController::startTriesFailedFilesAgain()
{
    MainController &main = controller();
    const JobQueue::JobId id = main.jobs().addJob(u"/v/a.avi"_s);
    main.jobs().setJobFailed(id, {u"/v/a.avi"_s, Outcome::Failed{}});
    QCOMPARE(main.jobs().failedCount(), 1);
    QCOMPARE(main.toggleBatch(), Toggle::Started);
    QCOMPARE(main.jobs().failedCount(), 0);
}

void TestMainController::couldNotStartIsToldAlone()
{
    const JobQueue::JobId a = controller().jobs().addJob(u"/v/a.avi"_s);
    QCOMPARE(controller().toggleBatch(), Toggle::Started);
    endBatch({{{u"/v/b.avi"_s, Outcome::Failed{}},
               {u"/v/a.avi"_s, Outcome::CouldNotStart{Outcome::CouldNotStart::Reason::NotFound}}},
              false});
    const QList<RecordingMessageSink::Message> &messages = m_fixture->messages.messages;
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages.first().text, u"File or command not found"_s);
    QCOMPARE(messages.first().icon, MessageSink::Icon::Critical);
    QVERIFY(controller().status().statusText().startsWith(u"已停止"_s));
    QCOMPARE(controller().jobs().pathOf(a), u"/v/a.avi"_s);
}

void TestMainController::statusLineTellsPlaceAndEnd()
{
    MainController &main = controller();
    const JobQueue::JobId a = main.jobs().addJob(u"/v/a.avi"_s);
    main.jobs().addJob(u"/v/b.avi"_s);
    QCOMPARE(main.toggleBatch(), Toggle::Started);
    Q_EMIT main.driver().jobStarted(u"/v/a.avi"_s, a);
    QCOMPARE(main.status().statusText(), u"第 1/2 个：a.avi"_s);
    main.jobs().removeJob(a);
    Q_EMIT main.driver().jobFinished({u"/v/a.avi"_s, Outcome::Converted{u"/o/a.mpg"_s}}, a);
    QVERIFY(main.status().statusText().startsWith(u"第 1/2 个：a.avi，剩余约 "_s));
    main.stopConfirmed();
    QCOMPARE(main.status().statusText(), u"已停止：1 个已完成，1 个未转换"_s);
    // Removing all empties the list, and the line about its files goes with them.
    main.removeAll();
    QCOMPARE(main.jobs().jobCount(), 0);
    QCOMPARE(main.status().statusText(), QString());
}

void TestMainController::queueIsOfferedBackAtNextStart()
{
    m_fixture->stateFolder = m_fixture->dir.filePath(u"state"_s);
    const QString kept = m_fixture->stateFolder + u"/queue.json"_s;
    const QStringList queued{u"/v/a.avi"_s, u"/v/b.avi"_s};
    QVERIFY(controller().savedQueue().isEmpty());
    controller().jobs().addJobs(queued);
    // Kept at once, before any close: a kill loses nothing.
    QTRY_VERIFY(QFile::exists(kept));
    nextRun();

    QCOMPARE(controller().savedQueue(), queued);
    controller().answerRestore(true);
    QCOMPARE(controller().jobs().paths(), queued);
    QVERIFY(!controller().dropHint().isVisible());
    controller().shutdown();
    nextRun();

    // No, by accident: the files are still offered at the next start...
    controller().answerRestore(false);
    QVERIFY(controller().jobs().paths().isEmpty());
    nextRun();
    QCOMPARE(controller().savedQueue(), queued);
    // ...until the queue changes after a No.
    controller().answerRestore(false);
    controller().jobs().addJobs({u"/v/c.avi"_s});
    controller().jobs().removeAllJobs();
    QTRY_VERIFY(!QFile::exists(kept));
    nextRun();
    QVERIFY(controller().savedQueue().isEmpty());
}

void TestMainController::filesAtOnceReachTheDriver_data()
{
    QTest::addColumn<QByteArray>("jobsLine");
    QTest::addColumn<int>("atOnce");
    QTest::newRow("default: one") << QByteArray() << 1;
    QTest::newRow("two") << "2\r\n"_ba << 2;
}

// An encoder that takes its time lets the jobs that run side by side be
// counted: those started before the first one ends.
void TestMainController::filesAtOnceReachTheDriver()
{
    QFETCH(QByteArray, jobsLine);
    QFETCH(int, atOnce);
    if (QThread::idealThreadCount() < atOnce)
        QSKIP("fewer processors than files at once");
    m_fixture->write(m_fixture->settings.optionsPath(), "1\r\n0\r\n0\r\n0\r\n"_ba + jobsLine);
    int startedBeforeAnEnd = 0;
    bool ended = false;
    connect(&controller().driver(), &BatchDriver::jobStarted, this,
            [&] { startedBeforeAnEnd += ended ? 0 : 1; });
    connect(&controller().driver(), &BatchDriver::jobFinished, this, [&] { ended = true; });

    convert({u"a.avi"_s, u"b.avi"_s, u"c.avi"_s}, "sleep 1\n");

    QCOMPARE(startedBeforeAnEnd, atOnce);
}

void TestMainController::subtitlesChoiceReachesTheEncoder_data()
{
    QTest::addColumn<QByteArray>("subtitlesLine");
    QTest::addColumn<QByteArray>("seen");
    QTest::newRow("no sixth line: auto") << QByteArray() << "auto|unset"_ba;
    QTest::newRow("sixth line 1: off") << "1\r\n"_ba
                                       << "off|unset"_ba;
}

// The encoder writes down what its environment tells it; the window has no
// sound track choice, so one the program inherited must not get through.
void TestMainController::subtitlesChoiceReachesTheEncoder()
{
    QFETCH(QByteArray, subtitlesLine);
    QFETCH(QByteArray, seen);
    m_fixture->write(m_fixture->settings.optionsPath(),
                     "1\r\n0\r\n0\r\n0\r\n1\r\n"_ba + subtitlesLine);
    const QString record = m_fixture->dir.filePath(u"seen"_s);
    qputenv("ZENVORA_AUDIO_TRACK", "2");
    const auto restore = qScopeGuard([] { qunsetenv("ZENVORA_AUDIO_TRACK"); });

    convert({u"a.avi"_s}, "printf '%s|%s' \"$ZENVORA_SUBTITLES\" "
                          "\"${ZENVORA_AUDIO_TRACK-unset}\" > '"_ba +
                              QFile::encodeName(record) + "'\n");

    QFile written(record);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), seen);
}

void TestMainController::desktopHearsOfTheBatch_data()
{
    QTest::addColumn<bool>("atTheWindow");
    QTest::addColumn<QByteArray>("notifyLine"); // options.ini's seventh
    QTest::addColumn<bool>("keepsAwake");
    QTest::addColumn<bool>("notified");
    QTest::newRow("away: told") << false << QByteArray() << true << true;
    QTest::newRow("at the window: not told") << true << QByteArray() << true << false;
    QTest::newRow("away, switched off") << false << "1\r\n"_ba << true << false;
    QTest::newRow("nothing keeps the machine awake") << false << "0\r\n"_ba << false << true;
}

// Awake from the start to the end, the progress on the taskbar and cleared,
// and a word at the end for a user who is not at the window.
void TestMainController::desktopHearsOfTheBatch()
{
    QFETCH(bool, atTheWindow);
    QFETCH(QByteArray, notifyLine);
    QFETCH(bool, keepsAwake);
    QFETCH(bool, notified);
    m_fixture->write(m_fixture->settings.optionsPath(),
                     "1\r\n0\r\n0\r\n0\r\n1\r\n0\r\n"_ba + notifyLine);
    RecordingDesktop &desktop = m_fixture->desktop;
    desktop.keepsAwake = keepsAwake;
    m_userPresent = atTheWindow;
    MainController &main = controller();
    const JobQueue::JobId a = main.jobs().addJob(u"/v/a.avi"_s);
    main.setOutputFolder(u"/o"_s);
    QCOMPARE(main.toggleBatch(), Toggle::Started);
    QCOMPARE(desktop.calls, QStringList{u"stay awake"_s});
    Q_EMIT main.driver().jobStarted(u"/v/a.avi"_s, a);
    QCOMPARE(main.status().statusText().endsWith(u"（无法阻止系统休眠）"_s), !keepsAwake);
    Q_EMIT main.driver().progressChanged(Progress{.percent = 50}, a);
    QCOMPARE(desktop.calls.last(), u"progress 0.5, 1 left"_s);
    main.jobs().removeJob(a);
    const JobResult converted{u"/v/a.avi"_s, Outcome::Converted{u"/o/a.mpg"_s}};
    Q_EMIT main.driver().jobFinished(converted, a);
    QCOMPARE(desktop.calls.last(), u"progress 1, 0 left"_s);
    desktop.calls.clear();
    endBatch({{converted}, false});

    QStringList told{u"allow sleep"_s, u"progress off, 0 left"_s};
    if (notified)
        told.append(u"notify 转换完成: 1 个成功，0 个失败 [打开文件夹]"_s);
    QCOMPARE(desktop.calls, told);
    if (!notified)
        return;
    desktop.notificationChosen();
    QCOMPARE(desktop.calls.last(), u"show /o [/o/a.mpg]"_s);
}

// A batch whose encoder cannot be started ends as stopped, and so a user
// away from the window is told.
void TestMainController::encoderThatCannotStartIsToldAsAStop()
{
    m_userPresent = false;
    controller().jobs().addJob(m_fixture->dir.filePath(u"a.avi"_s));
    QCOMPARE(controller().toggleBatch(), Toggle::Started);
    QTRY_VERIFY(!controller().batchRunning());
    QCOMPARE(m_fixture->desktop.callsOf(u"stay|allow|notify"_s),
             (QStringList{u"stay awake"_s, u"allow sleep"_s,
                          u"notify 转换已停止: 0 个已完成，1 个未转换 [打开文件夹]"_s}));
}

QTEST_GUILESS_MAIN(TestMainController)
#include "tst_maincontroller.moc"
