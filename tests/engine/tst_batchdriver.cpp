#include "engine/BatchDriver.h"
#include "jobs/JobList.h"
#include "tests/helpers/ProcessTable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString fakeEncoder = QStringLiteral(ZENVORA_TEST_DATA "/fake-encoder.sh");

QString readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// A program folder with the fake encoders, an output folder and input files.
struct Workbench
{
    Workbench()
    {
        QDir(root.path()).mkpath(u"app/data"_s);
        QDir(root.path()).mkpath(u"in"_s);
        for (const QString &name : {u"conv.exe"_s, u"coder.exe"_s, u"coder2.exe"_s})
            installEncoder(name);
        environment.programFolder = root.filePath(u"app"_s);
        environment.intermediatePath = root.filePath(u"cache/tmp/tmp.mp4"_s);
        environment.clock = [] { return QTime(9, 5, 7); };
    }

    void installEncoder(const QString &name) const
    {
        QFile::link(fakeEncoder, root.filePath(u"app/data/"_s + name));
    }

    QString input(const QString &name) const
    {
        const QString path = root.filePath(u"in/"_s + name);
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write("source " + name.toUtf8() + '\n');
        return path;
    }

    ConversionSettings settings(OutputFormat format) const
    {
        ConversionSettings settings;
        settings.audioBitrate = u"96"_s;
        settings.audioRate = u"44100"_s;
        settings.channelIndex = 1;
        settings.selectFormat(OutputFormat::Rmvb);
        settings.selectFormat(format);
        settings.outputFolder = root.filePath(u"out"_s);
        return settings;
    }

    QString calls() const { return readAll(root.filePath(u"app/data/calls.log"_s)); }
    // The encoders that sleep until stopped, once count of them have started.
    QList<qint64> sleepers(int count) const
    {
        const QString pidFile = root.filePath(u"app/data/sleeper.pid"_s);
        QList<qint64> pids;
        if (!QTest::qWaitFor([&] { return readAll(pidFile).count(u'\n') >= count; }, 20000))
            return pids;
        for (const QString &line : readAll(pidFile).split(u'\n', Qt::SkipEmptyParts))
            pids.append(line.toLongLong());
        return pids;
    }
    QStringList filesIn(const QString &folder) const
    {
        return QDir(root.filePath(folder)).entryList(QDir::Files | QDir::Hidden);
    }
    QString output(const QString &name) const { return root.filePath(u"out/"_s + name); }

    QTemporaryDir root;
    CommandEnvironment environment;
};

struct Run
{
    Run(Workbench &bench) : driver(queue, bench.environment)
    {
        QObject::connect(&driver, &BatchDriver::batchFinished, &driver,
                         [this](const BatchReport &r) {
                             report = r;
                             ++batchesFinished;
                         });
        QObject::connect(&driver, &BatchDriver::progressChanged, &driver,
                         [this](const Progress &d) {
                             progress.append(d);
                             stages.insert(u"%1/%2"_s.arg(d.stage).arg(d.stages));
                         });
        QObject::connect(&driver, &BatchDriver::jobStarted, &driver,
                         [this](const QString &path) { started.append(path); });
    }

    bool waitForEnd(int timeout = 20000)
    {
        return QTest::qWaitFor([this] { return batchesFinished > 0; }, timeout);
    }

    JobList queue;
    BatchDriver driver;
    BatchReport report;
    int batchesFinished = 0;
    QList<Progress> progress;
    QSet<QString> stages; // "stage/stages" of every progress shown
    QStringList started;
};

Outcome::Failed failureOf(const JobResult &result)
{
    const auto *failed = std::get_if<Outcome::Failed>(&result.outcome);
    return failed ? *failed : Outcome::Failed{};
}

} // namespace

class TestBatchDriver : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void refusesEmptyQueue();
    void convertsEveryFormatThroughItsStages_data();
    void convertsEveryFormatThroughItsStages();
    void announcesBatchEndInOrder();
    void reportsFailuresAndGoesOn();
    void takesTheCauseTheEncoderNames_data();
    void takesTheCauseTheEncoderNames();
    void neverConvertsStaleIntermediate();
    void ignoresSecondStartWhileRunning();
    void convertsJobsAddedDuringBatch();
    void stopKeepsQueueAndRemovesPartialOutput();
    void stopBetweenJobsKeepsFinishedOutput();
    void hungEncoderFailsItsJobOnly_data();
    void hungEncoderFailsItsJobOnly();
    void runsUpToTheGivenNumberOfJobsAtOnce_data();
    void runsUpToTheGivenNumberOfJobsAtOnce();
    void stopEndsEveryRunningJob();
    void failureLeavesTheJobBesideItAlone();
    void reportsTheNameTheEncoderWrote();
    void tellsWhichStageFailed();
    void onlyTwoStageJobsNeedTheTempFolder();
    void endsOnMissingEncoderAndRestarts();
    void failsJobWhenOutputFolderCannotBeCreated();
    void sameNameInSameSecondGetsNewName();
    void shutdownLeavesNoProcessOrTemporaryFile();
};

void TestBatchDriver::refusesEmptyQueue()
{
    Workbench bench;
    Run run(bench);
    QSignalSpy controls(&run.driver, &BatchDriver::runningChanged);
    QVERIFY(!run.driver.requestStart(bench.settings(OutputFormat::Mpg), true));
    QCOMPARE(run.driver.state(), BatchDriver::State::Idle);
    QVERIFY(controls.isEmpty());
}

void TestBatchDriver::convertsEveryFormatThroughItsStages_data()
{
    QTest::addColumn<OutputFormat>("format");
    QTest::addColumn<QString>("outputName");
    QTest::addColumn<QStringList>("encoders");
    const QStringList convThenCoder{u"conv.exe"_s, u"coder.exe"_s};
    const QStringList convThenCoder2{u"conv.exe"_s, u"coder2.exe"_s};
    QTest::newRow("rmvb") << OutputFormat::Rmvb << u"clip-957.rmvb"_s << convThenCoder;
    QTest::newRow("rm") << OutputFormat::Rm << u"clip-957.rm"_s << convThenCoder;
    QTest::newRow("mpg") << OutputFormat::Mpg << u"clip-957.mpg"_s << QStringList{u"conv.exe"_s};
    QTest::newRow("avi") << OutputFormat::Avi << u"clip-957.avi"_s << QStringList{u"conv.exe"_s};
    QTest::newRow("mp4 hq") << OutputFormat::Mp4HighQuality << u"clip-957.mp4"_s
                            << QStringList{u"conv.exe"_s};
    QTest::newRow("mov") << OutputFormat::Mov << u"clip-957.mov"_s << convThenCoder;
    QTest::newRow("mp4 mobile") << OutputFormat::Mp4Mobile << u"clip-957.mp4"_s << convThenCoder2;
    QTest::newRow("3gp") << OutputFormat::ThreeGpMobile << u"clip-957.3gp"_s << convThenCoder2;
    QTest::newRow("mp3") << OutputFormat::Mp3Audio << u"clip-957.mp3"_s
                         << QStringList{u"coder.exe"_s};
}

void TestBatchDriver::convertsEveryFormatThroughItsStages()
{
    QFETCH(OutputFormat, format);
    QFETCH(QString, outputName);
    QFETCH(QStringList, encoders);
    Workbench bench;
    Run run(bench);
    const QString input = bench.input(u"clip.avi"_s);
    run.queue.addJob(input);
    run.driver.requestStart(bench.settings(format), false);
    QCOMPARE(run.driver.state(), BatchDriver::State::StartPending);
    QVERIFY(run.waitForEnd());

    QCOMPARE(run.report.failures().size(), 0);
    QCOMPARE(run.report.results.size(), 1);
    QCOMPARE(run.report.results.first().outputPath(), bench.output(outputName));
    QCOMPARE(readAll(bench.output(outputName)),
             u"source clip.avi\n"_s + encoders.join(u'\n') + u'\n');
    const QSet<QString> stages =
        encoders.size() == 2 ? QSet<QString>{u"1/2"_s, u"2/2"_s} : QSet<QString>{u"1/1"_s};
    QCOMPARE(run.stages, stages);
    QCOMPARE(run.queue.jobCount(), 0);
    QCOMPARE(run.started, QStringList{input});
    QVERIFY(!QFile::exists(bench.environment.intermediatePath));
}

void TestBatchDriver::announcesBatchEndInOrder()
{
    Workbench bench;
    Run run(bench);
    QStringList events;
    connect(&run.driver, &BatchDriver::runningChanged, this,
            [&](bool running) { events.append(running ? u"disable"_s : u"enable"_s); });
    connect(&run.driver, &BatchDriver::outputFolderChanged, this,
            [&](const QString &folder) { events.append(u"folder "_s + folder); });
    connect(&run.driver, &BatchDriver::jobFinished, this,
            [&](const JobResult &) { events.append(u"job"_s); });
    connect(&run.driver, &BatchDriver::openFolderRequested, this,
            [&](const QString &folder, const QStringList &converted) {
                events.append(u"open %1 (%2 files)"_s.arg(folder).arg(converted.size()));
            });
    connect(&run.driver, &BatchDriver::completionSoundRequested, this,
            [&](const QString &file) { events.append(u"sound "_s + file); });
    connect(&run.driver, &BatchDriver::batchFinished, this,
            [&](const BatchReport &) { events.append(u"finished"_s); });
    run.queue.addJob(bench.input(u"a.avi"_s));
    run.queue.addJob(bench.input(u"b.avi"_s));
    run.driver.requestStart(bench.settings(OutputFormat::Mpg), true);
    QVERIFY(run.waitForEnd());

    const QString folder = bench.root.filePath(u"out/"_s);
    QCOMPARE(events, (QStringList{u"disable"_s, u"folder "_s + folder, u"job"_s, u"job"_s,
                                  u"open "_s + folder + u" (2 files)"_s,
                                  u"sound "_s + bench.environment.programFolder + u"/sound.wav"_s,
                                  u"enable"_s, u"finished"_s}));
    QVERIFY(std::any_of(run.progress.begin(), run.progress.end(), [](const Progress &p) {
        return p.style == EncoderStyle::Conv && p.finished;
    }));
    QCOMPARE(run.progress.first().percent.value_or(-1), 7.0);
}

void TestBatchDriver::reportsFailuresAndGoesOn()
{
    Workbench bench;
    Run run(bench);
    const QStringList inputs{bench.input(u"good1.avi"_s),
                             bench.input(u"fail.avi"_s),
                             bench.input(u"crash.avi"_s),
                             bench.input(u"noout.avi"_s),
                             bench.root.filePath(u"in/deleted.avi"_s),
                             bench.input(u"nospace.avi"_s),
                             bench.input(u"good2.avi"_s)};
    for (const QString &input : inputs)
        run.queue.addJob(input);
    run.driver.requestStart(bench.settings(OutputFormat::Rmvb), false);
    QVERIFY(run.waitForEnd());

    const QList<JobResult> failures = run.report.failures();
    QCOMPARE(failures.size(), 5);
    QCOMPARE(failures.at(0).inputPath, inputs.at(1));
    // The encoder's own explanation is kept apart from its exit status.
    const Outcome::Failed exited = failureOf(failures.at(0));
    QCOMPARE(exited.run.failureLine, u"conv.exe: cannot decode "_s + inputs.at(1));
    QCOMPARE(exited.run.encoder, u"conv.exe"_s);
    QCOMPARE(exited.code, 1);
    QCOMPARE(failures.at(1).inputPath, inputs.at(2));
    QCOMPARE(failures.at(2).inputPath, inputs.at(3));
    QCOMPARE(failures.at(3).inputPath, inputs.at(4));
    QVERIFY(failureOf(failures.at(3)).run.lastLines.contains(u"no such file"_s));
    QVERIFY(QFile::exists(bench.output(u"good1-957.rmvb"_s)));
    QVERIFY(QFile::exists(bench.output(u"good2-957.rmvb"_s)));
    // A failed stage one never goes on to stage two.
    QCOMPARE(bench.calls().count(u"coder.exe"_s), 2);
    // The failed files stay for another try; none of them is waiting.
    QCOMPARE(run.queue.paths(),
             (QStringList{inputs.at(1), inputs.at(2), inputs.at(3), inputs.at(4), inputs.at(5)}));
    QVERIFY(!run.queue.nextWaitingJob());
    QCOMPARE(exited.cause, Outcome::Failed::Cause::EncoderError);
    QCOMPARE(failureOf(failures.at(1)).cause, Outcome::Failed::Cause::Crashed);
    QCOMPARE(failureOf(failures.at(2)).cause, Outcome::Failed::Cause::NoOutput);
    // A cause a person can act on is told apart from the others.
    QCOMPARE(failureOf(failures.at(4)).cause, Outcome::Failed::Cause::DiskFull);
}

// The causes a real encoder cannot be brought to name under the program,
// which makes the output folder and builds the command itself, and lines
// that name no cause this program knows.
void TestBatchDriver::takesTheCauseTheEncoderNames_data()
{
    using Cause = Outcome::Failed::Cause;
    QTest::addColumn<QString>("said"); // the exit status, then the encoder's lines
    QTest::addColumn<Cause>("cause");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("failureLine"); // as the details show it
    QTest::newRow("the output folder gone")
        << u"1\nconv.exe: [output-folder-missing] the output folder \"/o\" does not exist"_s
        << Cause::OutputFolder << 1 << u"conv.exe: the output folder \"/o\" does not exist"_s;
    QTest::newRow("stopped by someone else")
        << u"143\nconv.exe: [stopped-by-signal] stopped by signal 15"_s << Cause::Crashed << 15
        << u"conv.exe: stopped by signal 15"_s;
    QTest::newRow("a command line not understood")
        << u"2\nconv.exe: [bad-command-line] unknown option -vf"_s << Cause::EncoderError << 2
        << u"conv.exe: unknown option -vf"_s;
    // The words of a cause are no cause: "does not exist" is said of
    // inputs and output folders alike.
    QTest::newRow("words without a token")
        << u"1\nconv.exe: the output folder \"/o\" does not exist"_s << Cause::EncoderError << 1
        << u"conv.exe: the output folder \"/o\" does not exist"_s;
    QTest::newRow("a token this program does not know")
        << u"1\nconv.exe: [disk-on-fire] it smokes"_s << Cause::EncoderError << 1
        << u"conv.exe: it smokes"_s;
    QTest::newRow("another encoder's line") << u"1\ncoder.exe: [disk-full] the conversion failed"_s
                                            << Cause::EncoderError << 1 << QString();
}

void TestBatchDriver::takesTheCauseTheEncoderNames()
{
    QFETCH(QString, said);
    QFETCH(Outcome::Failed::Cause, cause);
    QFETCH(int, code);
    QFETCH(QString, failureLine);
    Workbench bench;
    const QString input = bench.input(u"says.avi"_s);
    QFile lines(input);
    QVERIFY(lines.open(QIODevice::WriteOnly));
    lines.write(said.toUtf8() + '\n');
    lines.close();
    Run run(bench);
    run.queue.addJob(input);
    run.driver.requestStart(bench.settings(OutputFormat::Mpg), false);
    QVERIFY(run.waitForEnd());

    QCOMPARE(run.report.failures().size(), 1);
    const Outcome::Failed failed = failureOf(run.report.failures().first());
    QCOMPARE(failed.cause, cause);
    QCOMPARE(failed.code, code);
    QCOMPARE(failed.run.failureLine, failureLine);
    // The folder as the batch wrote into it, with its separator at the end.
    QCOMPARE(failed.path, cause == Outcome::Failed::Cause::OutputFolder
                              ? bench.root.filePath(u"out/"_s)
                              : QString());
}

void TestBatchDriver::neverConvertsStaleIntermediate()
{
    Workbench bench;
    QDir().mkpath(bench.root.filePath(u"cache/tmp"_s));
    QFile stale(bench.environment.intermediatePath);
    QVERIFY(stale.open(QIODevice::WriteOnly));
    stale.write("an earlier job's intermediate\n");
    stale.close();
    QFile::copy(fakeEncoder, bench.root.filePath(u"app/data/fail-conv.exe"_s));

    Run run(bench);
    run.queue.addJob(bench.input(u"clip.avi"_s));
    run.driver.requestStart(bench.settings(OutputFormat::Mov), false);
    QVERIFY(run.waitForEnd());
    QCOMPARE(run.report.failures().size(), 1);
    QVERIFY(!bench.calls().contains(u"coder.exe"_s));
    QVERIFY(!QFile::exists(bench.environment.intermediatePath));
    QVERIFY(QDir(bench.root.filePath(u"out"_s)).isEmpty());
}

void TestBatchDriver::ignoresSecondStartWhileRunning()
{
    Workbench bench;
    Run run(bench);
    run.queue.addJob(bench.input(u"slow.avi"_s));
    run.driver.requestStart(bench.settings(OutputFormat::Rmvb), false);
    run.driver.requestStart(bench.settings(OutputFormat::Rmvb), false);
    QTRY_COMPARE(run.driver.state(), BatchDriver::State::Running);
    run.driver.requestStart(bench.settings(OutputFormat::Rmvb), false);
    QTest::qWait(2 * BatchDriver::StartDelayMilliseconds);
    run.driver.stop();
    QVERIFY(run.waitForEnd());
    QCOMPARE(run.started.size(), 1);
    QCOMPARE(bench.calls().count(u"conv.exe"_s), 1);
}

void TestBatchDriver::convertsJobsAddedDuringBatch()
{
    Workbench bench;
    Run run(bench);
    const JobList::JobId first = run.queue.addJob(bench.input(u"a.avi"_s));
    connect(&run.driver, &BatchDriver::jobStarted, this, [&](const QString &path) {
        if (!path.endsWith(u"a.avi"_s))
            return;
        // The running job stays; a job added now is converted in this batch.
        QCOMPARE(run.queue.removeSelectedJobs({0}), 0);
        QCOMPARE(run.queue.pathOf(first), path);
        run.queue.addJob(bench.input(u"b.avi"_s));
    });
    run.driver.requestStart(bench.settings(OutputFormat::Avi), false);
    QVERIFY(run.waitForEnd());
    QCOMPARE(run.report.results.size(), 2);
    QVERIFY(QFile::exists(bench.output(u"a-957.avi"_s)));
    QVERIFY(QFile::exists(bench.output(u"b-957.avi"_s)));
}

void TestBatchDriver::stopKeepsQueueAndRemovesPartialOutput()
{
    Workbench bench;
    Run run(bench);
    QSignalSpy opened(&run.driver, &BatchDriver::openFolderRequested);
    const QString slow = bench.input(u"slow.avi"_s);
    run.queue.addJob(slow);
    run.queue.addJob(bench.input(u"next.avi"_s));
    run.driver.requestStart(bench.settings(OutputFormat::Mpg), true);
    const QString pidFile = bench.root.filePath(u"app/data/sleeper.pid"_s);
    QTRY_VERIFY(QFile::exists(pidFile) && !readAll(pidFile).isEmpty());
    const qint64 sleeper = readAll(pidFile).trimmed().toLongLong();
    QVERIFY(ProcessTable::isAlive(sleeper));
    QCOMPARE(QDir(bench.root.filePath(u"out"_s)).entryList(QDir::Files | QDir::Hidden).size(), 1);

    run.driver.stop();
    QVERIFY(run.waitForEnd());
    QVERIFY(run.report.stopped);
    QCOMPARE(run.queue.paths(), (QStringList{slow, bench.root.filePath(u"in/next.avi"_s)}));
    QVERIFY(QDir(bench.root.filePath(u"out"_s)).entryList(QDir::Files | QDir::Hidden).isEmpty());
    QTRY_VERIFY(!ProcessTable::isAlive(sleeper));
    QVERIFY(opened.isEmpty());
    // The stopped job can be removed again.
    QCOMPARE(run.queue.removeSelectedJobs({0}), 1);
}

void TestBatchDriver::stopBetweenJobsKeepsFinishedOutput()
{
    Workbench bench;
    Run run(bench);
    const QString next = bench.input(u"b.avi"_s);
    run.queue.addJob(bench.input(u"a.avi"_s));
    run.queue.addJob(next);
    // Stop while the next job's start is queued behind this one's end.
    connect(&run.driver, &BatchDriver::jobFinished, this,
            [&](const JobResult &) { run.driver.stop(); });
    run.driver.requestStart(bench.settings(OutputFormat::Mov), false);
    QVERIFY(run.waitForEnd());
    QTest::qWait(2 * BatchDriver::StartDelayMilliseconds);
    QVERIFY(run.report.stopped);
    QCOMPARE(run.started.size(), 1);
    QVERIFY(QFile::exists(bench.output(u"a-957.mov"_s)));
    QCOMPARE(run.queue.paths(), QStringList{next});
    QCOMPARE(bench.calls().count(u"b.avi"_s), 0);
    QVERIFY(!QFile::exists(bench.environment.intermediatePath));
}

void TestBatchDriver::hungEncoderFailsItsJobOnly_data()
{
    QTest::addColumn<int>("parallelJobs");
    QTest::newRow("one at a time") << 1;
    QTest::newRow("side by side") << 2;
}

void TestBatchDriver::hungEncoderFailsItsJobOnly()
{
    QFETCH(int, parallelJobs);
    Workbench bench;
    Run run(bench);
    run.driver.setParallelJobs(parallelJobs);
    run.driver.setStallTimeout(500);
    run.queue.addJob(bench.input(u"slow.avi"_s));
    run.queue.addJob(bench.input(u"next.avi"_s));
    run.driver.requestStart(bench.settings(OutputFormat::Mpg), false);
    const QString pidFile = bench.root.filePath(u"app/data/sleeper.pid"_s);
    QTRY_VERIFY(QFile::exists(pidFile) && !readAll(pidFile).isEmpty());
    const qint64 sleeper = readAll(pidFile).trimmed().toLongLong();
    QVERIFY(run.waitForEnd());
    // Kept by value: the pointer below points into it.
    const QList<JobResult> failures = run.report.failures();
    QCOMPARE(failures.size(), 1);
    const auto *hung = std::get_if<Outcome::Hung>(&failures.first().outcome);
    QVERIFY(hung);
    QCOMPARE(hung->seconds, 1);
    QCOMPARE(hung->run.encoder, u"conv.exe"_s);
    QVERIFY(QFile::exists(bench.output(u"next-957.mpg"_s)));
    QTRY_VERIFY(!ProcessTable::isAlive(sleeper));
    QCOMPARE(QDir(bench.root.filePath(u"out"_s)).entryList(QDir::Files | QDir::Hidden),
             QStringList{u"next-957.mpg"_s});
}

void TestBatchDriver::runsUpToTheGivenNumberOfJobsAtOnce_data()
{
    QTest::addColumn<int>("parallelJobs");
    QTest::newRow("one") << 1;
    QTest::newRow("two") << 2;
    QTest::newRow("three") << 3;
}

void TestBatchDriver::runsUpToTheGivenNumberOfJobsAtOnce()
{
    QFETCH(int, parallelJobs);
    Workbench bench;
    QFile company(bench.root.filePath(u"app/data/side-by-side"_s));
    QVERIFY(company.open(QIODevice::WriteOnly));
    company.write(QByteArray::number(parallelJobs));
    company.close();
    Run run(bench);
    run.driver.setParallelJobs(parallelJobs);
    // Each input twice: started in the same second, each copy gets a name of its own.
    const QString first = bench.input(u"pair1.avi"_s);
    const QString second = bench.input(u"pair2.avi"_s);
    run.queue.addJobs({first, first, second, second});
    run.driver.requestStart(bench.settings(OutputFormat::Mov), false);
    QVERIFY(run.waitForEnd());

    int running = 0;
    int mostRunning = 0;
    for (const QString &line : readAll(bench.root.filePath(u"app/data/overlap.log"_s)).split(u'\n'))
        mostRunning = std::max(mostRunning, running += line == u"+"_s   ? 1
                                                       : line == u"-"_s ? -1
                                                                        : 0);
    QCOMPARE(mostRunning, parallelJobs);
    QCOMPARE(run.report.failures().size(), 0);
    QCOMPARE(bench.filesIn(u"out"_s), (QStringList{u"pair1-957-2.mov"_s, u"pair1-957.mov"_s,
                                                   u"pair2-957-2.mov"_s, u"pair2-957.mov"_s}));
    // Each job side by side has an intermediate file of its own; one alone
    // has the configured one.
    QStringList intermediates;
    for (const QString &line : bench.calls().split(u'\n')) {
        if (line.startsWith(u"conv.exe "_s) && !intermediates.contains(line.section(u" -> "_s, 1)))
            intermediates.append(line.section(u" -> "_s, 1));
    }
    intermediates.sort();
    QStringList expected{bench.environment.intermediatePath};
    if (parallelJobs > 1) {
        expected.clear();
        for (int slot = 1; slot <= parallelJobs; ++slot)
            expected.append(bench.root.filePath(u"cache/tmp/tmp-%1.mp4"_s.arg(slot)));
    }
    QCOMPARE(intermediates, expected);
    // No job converted another job's intermediate file.
    for (const JobResult &result : run.report.results)
        QCOMPARE(readAll(result.outputPath()), u"source "_s +
                                                   QFileInfo(result.inputPath).fileName() +
                                                   u"\nconv.exe\ncoder.exe\n"_s);
    QCOMPARE(bench.filesIn(u"cache/tmp"_s), QStringList{});
}

void TestBatchDriver::stopEndsEveryRunningJob()
{
    Workbench bench;
    Run run(bench);
    run.driver.setParallelJobs(2);
    const QStringList inputs{bench.input(u"slow1.avi"_s), bench.input(u"slow2.avi"_s),
                             bench.input(u"next.avi"_s)};
    run.queue.addJobs(inputs);
    run.driver.requestStart(bench.settings(OutputFormat::Mov), false);
    const QList<qint64> sleepers = bench.sleepers(2);
    QCOMPARE(sleepers.size(), 2);
    QCOMPARE(bench.filesIn(u"cache/tmp"_s).size(), 2);

    run.driver.stop();
    QVERIFY(run.waitForEnd());
    QVERIFY(run.report.stopped);
    QCOMPARE(run.started.size(), 2);
    QCOMPARE(run.queue.paths(), inputs);
    for (const qint64 sleeper : sleepers)
        QTRY_VERIFY(!ProcessTable::isAlive(sleeper));
    QCOMPARE(bench.filesIn(u"out"_s), QStringList{});
    QCOMPARE(bench.filesIn(u"cache/tmp"_s), QStringList{});
    QCOMPARE(run.queue.removeSelectedJobs({1}), 1);
}

void TestBatchDriver::failureLeavesTheJobBesideItAlone()
{
    Workbench bench;
    Run run(bench);
    run.driver.setParallelJobs(2);
    run.queue.addJobs({bench.input(u"good1.avi"_s), bench.input(u"crash.avi"_s),
                       bench.input(u"fail.avi"_s), bench.input(u"good2.avi"_s)});
    run.driver.requestStart(bench.settings(OutputFormat::Rmvb), false);
    QVERIFY(run.waitForEnd());
    QStringList failed;
    for (const JobResult &failure : run.report.failures())
        failed.append(QFileInfo(failure.inputPath).fileName());
    failed.sort();
    QCOMPARE(failed, (QStringList{u"crash.avi"_s, u"fail.avi"_s}));
    QCOMPARE(readAll(bench.output(u"good1-957.rmvb"_s)),
             u"source good1.avi\nconv.exe\ncoder.exe\n"_s);
    QCOMPARE(readAll(bench.output(u"good2-957.rmvb"_s)),
             u"source good2.avi\nconv.exe\ncoder.exe\n"_s);
}

void TestBatchDriver::reportsTheNameTheEncoderWrote()
{
    Workbench bench;
    Run run(bench);
    run.queue.addJob(bench.input(u"taken.avi"_s));
    run.driver.requestStart(bench.settings(OutputFormat::Mpg), false);
    QVERIFY(run.waitForEnd());
    QCOMPARE(run.report.failures().size(), 0);
    QCOMPARE(run.report.results.first().outputPath(), bench.output(u"taken-957-9.mpg"_s));
}

void TestBatchDriver::tellsWhichStageFailed()
{
    Workbench bench;
    QFile::copy(fakeEncoder, bench.root.filePath(u"app/data/fail-coder.exe"_s));
    Run run(bench);
    run.queue.addJob(bench.input(u"a.avi"_s));
    run.queue.addJob(bench.input(u"fail.avi"_s));
    run.driver.requestStart(bench.settings(OutputFormat::Mov), false);
    QVERIFY(run.waitForEnd());
    const QList<JobResult> failures = run.report.failures();
    QCOMPARE(failures.size(), 2);
    QCOMPARE(failureOf(failures.at(0)).run.stage, std::optional(Stage::Two));
    QCOMPARE(failureOf(failures.at(1)).run.stage, std::optional(Stage::One));
}

void TestBatchDriver::onlyTwoStageJobsNeedTheTempFolder()
{
    Workbench bench;
    QFile blocker(bench.root.filePath(u"cache"_s));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    for (const OutputFormat format : {OutputFormat::Mp3Audio, OutputFormat::Mov}) {
        Run run(bench);
        run.queue.addJob(bench.input(u"a.avi"_s));
        run.driver.requestStart(bench.settings(format), false);
        QVERIFY(run.waitForEnd());
        const QList<JobResult> failures = run.report.failures();
        QCOMPARE(failures.size(), format == OutputFormat::Mov ? 1 : 0);
        if (!failures.isEmpty())
            QCOMPARE(failureOf(failures.first()).cause, Outcome::Failed::Cause::TempFolder);
    }
}

void TestBatchDriver::endsOnMissingEncoderAndRestarts()
{
    Workbench bench;
    QFile::remove(bench.root.filePath(u"app/data/coder.exe"_s));
    Run run(bench);
    QSignalSpy controls(&run.driver, &BatchDriver::runningChanged);
    QSignalSpy opened(&run.driver, &BatchDriver::openFolderRequested);
    run.queue.addJob(bench.input(u"song.avi"_s));
    run.driver.requestStart(bench.settings(OutputFormat::Mp3Audio), false);
    QVERIFY(run.waitForEnd());
    QCOMPARE(run.driver.state(), BatchDriver::State::Idle);
    QCOMPARE(run.queue.jobCount(), 1);
    QCOMPARE(controls.count(), 2); // disabled, then back for another Start
    QCOMPARE(controls.last().first().toBool(), false);
    QCOMPARE(opened.count(), 0);
    QCOMPARE(run.report.failures().size(), 1);
    QCOMPARE(run.report.couldNotStart(),
             std::optional(Outcome::CouldNotStart{Outcome::CouldNotStart::Reason::NotFound}));

    bench.installEncoder(u"coder.exe"_s);
    run.batchesFinished = 0;
    run.driver.requestStart(bench.settings(OutputFormat::Mp3Audio), false);
    QVERIFY(run.waitForEnd());
    QCOMPARE(run.report.failures().size(), 0);
    QVERIFY(QFile::exists(bench.output(u"song-957.mp3"_s)));
    QCOMPARE(controls.count(), 4);
}

void TestBatchDriver::failsJobWhenOutputFolderCannotBeCreated()
{
    Workbench bench;
    QFile blocker(bench.root.filePath(u"blocker"_s));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    Run run(bench);
    QSignalSpy opened(&run.driver, &BatchDriver::openFolderRequested);
    run.queue.addJob(bench.input(u"a.avi"_s));
    ConversionSettings settings = bench.settings(OutputFormat::Mpg);
    settings.outputFolder = bench.root.filePath(u"blocker/out"_s);
    run.driver.requestStart(settings, false);
    QVERIFY(run.waitForEnd());
    QCOMPARE(run.report.failures().size(), 1);
    QCOMPARE(failureOf(run.report.failures().first()).cause, Outcome::Failed::Cause::OutputFolder);
    QVERIFY(bench.calls().isEmpty());
    // Nothing converted: no folder to show, and no second message about it.
    QCOMPARE(opened.count(), 0);
}

void TestBatchDriver::sameNameInSameSecondGetsNewName()
{
    Workbench bench;
    Run run(bench);
    QDir().mkpath(bench.root.filePath(u"in/other"_s));
    const QString second = bench.root.filePath(u"in/other/clip.avi"_s);
    QFile::copy(bench.input(u"clip.avi"_s), second);
    run.queue.addJob(bench.root.filePath(u"in/clip.avi"_s));
    run.queue.addJob(second);
    run.queue.addJob(bench.root.filePath(u"in/clip.avi"_s));
    run.driver.requestStart(bench.settings(OutputFormat::Rm), false);
    QVERIFY(run.waitForEnd());
    QCOMPARE(run.report.results.at(0).outputPath(), bench.output(u"clip-957.rm"_s));
    QCOMPARE(run.report.results.at(1).outputPath(), bench.output(u"clip-957-2.rm"_s));
    QCOMPARE(run.report.results.at(2).outputPath(), bench.output(u"clip-957-3.rm"_s));
    for (const JobResult &result : run.report.results)
        QVERIFY(QFile::exists(result.outputPath()));
}

void TestBatchDriver::shutdownLeavesNoProcessOrTemporaryFile()
{
    Workbench bench;
    Run run(bench);
    QDir().mkpath(bench.root.filePath(u"cache/tmp"_s));
    for (const QString &name : {u"tmpfile.wav"_s, u"tmpfile1.mp3"_s}) {
        QFile file(bench.root.filePath(u"cache/tmp/"_s + name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    run.queue.addJob(bench.input(u"slow.avi"_s));
    run.driver.requestStart(bench.settings(OutputFormat::Avi), false);
    const QString pidFile = bench.root.filePath(u"app/data/sleeper.pid"_s);
    QTRY_VERIFY(QFile::exists(pidFile) && !readAll(pidFile).isEmpty());
    const qint64 sleeper = readAll(pidFile).trimmed().toLongLong();

    run.driver.shutdown();
    // Signals are delivered a moment after they are sent.
    QTRY_VERIFY_WITH_TIMEOUT(!ProcessTable::isAlive(sleeper), 1000);
    QVERIFY(!QFile::exists(bench.environment.intermediatePath));
    QVERIFY(QDir(bench.root.filePath(u"out"_s)).entryList(QDir::Files | QDir::Hidden).isEmpty());
    QVERIFY(!QFile::exists(bench.root.filePath(u"cache/tmp/tmpfile.wav"_s)));
    QVERIFY(!QFile::exists(bench.root.filePath(u"cache/tmp/tmpfile1.mp3"_s)));
    QCOMPARE(run.batchesFinished, 0);
}

QTEST_GUILESS_MAIN(TestBatchDriver)
#include "tst_batchdriver.moc"
