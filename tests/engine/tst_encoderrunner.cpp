#include "engine/EncoderRunner.h"
#include "tests/helpers/ProcessTable.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

using namespace Qt::StringLiterals;

namespace {

const QString childPath = QStringLiteral(TEST_CHILD_PATH);

// Words with a blank stay one argument.
EncoderCommand childCommand(const QStringList &arguments)
{
    EncoderCommand command(childPath);
    for (const QString &argument : arguments) {
        command.appendText(u" "_s);
        if (argument.contains(u' '))
            command.appendQuotedPath(argument);
        else
            command.appendText(argument);
    }
    return command;
}

struct Recorder
{
    explicit Recorder(EncoderRunner &runner)
    {
        QObject::connect(&runner, &EncoderRunner::outputReceived, &runner,
                         [this](const QString &chunk) { chunks.append(chunk); });
        QObject::connect(&runner, &EncoderRunner::finished, &runner,
                         [this](const RunOutcome &ended) {
                             ++overs;
                             chunksAtOver = chunks.size();
                             outcome = ended;
                         });
    }
    QString output() const { return chunks.join(QString()); }
    QStringList chunks;
    int overs = 0;
    qsizetype chunksAtOver = -1;
    RunOutcome outcome;
};

} // namespace

class TestEncoderRunner : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void deliversLongOutputInOrderedChunks();
    void endsChildWithoutOutput();
    void reportsCouldNotStartWithoutEvents_data();
    void reportsCouldNotStartWithoutEvents();
    void reportsHowTheChildEnded_data();
    void reportsHowTheChildEnded();
    void refusesSecondRunWhileBusy();
    void startsNextRunFromfinished();
    void decodesCharactersSplitBetweenChunks();
    void passesArgumentsUnchanged();
    void stopEndsWholeProcessGroup();
    void destructionEndsWholeProcessGroup();
    void staysResponsiveWhileChildFloods();
};

void TestEncoderRunner::deliversLongOutputInOrderedChunks()
{
    EncoderRunner runner;
    Recorder recorder(runner);
    runner.setCommand(childCommand({QStringLiteral("bytes"), QStringLiteral("5000")}));
    QVERIFY(!runner.start());
    QTRY_COMPARE(recorder.overs, 1);

    QString joined;
    for (const QString &chunk : recorder.chunks) {
        QVERIFY(chunk.size() <= EncoderRunner::ChunkSize);
        joined += chunk;
    }
    QVERIFY(recorder.chunks.size() >= 5);
    QCOMPARE(recorder.chunksAtOver, recorder.chunks.size());
    QCOMPARE(joined.size(), 5000);
    QCOMPARE(joined.left(27), QStringLiteral("abcdefghijklmnopqrstuvwxyza"));
    QCOMPARE(std::get<Outcome::Converted>(recorder.outcome).run.lastLines, joined);
}

void TestEncoderRunner::endsChildWithoutOutput()
{
    EncoderRunner runner;
    Recorder recorder(runner);
    runner.setCommand(childCommand({QStringLiteral("silent")}));
    QVERIFY(!runner.start());
    QTRY_COMPARE(recorder.overs, 1);
    QVERIFY(recorder.chunks.isEmpty());
    QCOMPARE(recorder.outcome, RunOutcome(Outcome::Converted{}));
}

void TestEncoderRunner::reportsCouldNotStartWithoutEvents_data()
{
    QTest::addColumn<QString>("program"); // empty: no command at all
    QTest::addColumn<Outcome::CouldNotStart::Reason>("reason");
    const auto notFound = Outcome::CouldNotStart::Reason::NotFound;
    QTest::newRow("empty") << QString() << Outcome::CouldNotStart::Reason::NoCommand;
    QTest::newRow("missing program") << QStringLiteral("/nonexistent/data/conv.exe") << notFound;
    QTest::newRow("missing program on PATH")
        << QStringLiteral("zenvora-no-such-program") << notFound;
    QTest::newRow("folder instead of program") << QStringLiteral("/tmp") << notFound;
    QTest::newRow("a file that cannot be run") << QStringLiteral("{not-a-program}") << notFound;
}

void TestEncoderRunner::reportsCouldNotStartWithoutEvents()
{
    QFETCH(QString, program);
    QFETCH(Outcome::CouldNotStart::Reason, reason);
    QTemporaryDir dir;
    if (program == u"{not-a-program}") {
        // Executable by its mode, but no format the system can run.
        program = dir.filePath(QStringLiteral("conv.exe"));
        QFile file(program);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("\x7f"
                   "ELF garbage");
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    EncoderRunner runner;
    Recorder recorder(runner);
    runner.setCommand(program.isEmpty() ? EncoderCommand() : EncoderCommand(program));
    QCOMPARE(runner.start(), std::optional(Outcome::CouldNotStart{reason}));
    QTest::qWait(100);
    QCOMPARE(recorder.overs, 0);
    QVERIFY(recorder.chunks.isEmpty());
}

void TestEncoderRunner::reportsHowTheChildEnded_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<RunOutcome>("outcome");
    using Cause = Outcome::Failed::Cause;
    QTest::newRow("success") << QStringList{QStringLiteral("bytes"), QStringLiteral("10")}
                             << RunOutcome(Outcome::Converted{{}, {.lastLines = u"abcdefghij"_s}});
    QTest::newRow("exit 3") << QStringList{QStringLiteral("exit"), QStringLiteral("3")}
                            << RunOutcome(Outcome::Failed{Cause::EncoderError,
                                                          3,
                                                          {},
                                                          {.lastLines = u"failing on purpose"_s}});
    QTest::newRow("crash") << QStringList{QStringLiteral("crash")}
                           << RunOutcome(Outcome::Failed{Cause::Crashed, int(SIGABRT)});
    QTest::newRow("saved to another name")
        << QStringList{QStringLiteral("args"), QStringLiteral("Saved to: /o/a-2.mpg")}
        << RunOutcome(
               Outcome::Converted{u"/o/a-2.mpg"_s, {.lastLines = u"Saved to: /o/a-2.mpg"_s}});
}

void TestEncoderRunner::reportsHowTheChildEnded()
{
    QFETCH(QStringList, arguments);
    QFETCH(RunOutcome, outcome);
    EncoderRunner runner;
    Recorder recorder(runner);
    runner.setCommand(childCommand(arguments));
    QVERIFY(!runner.start());
    QTRY_COMPARE(recorder.overs, 1);
    QCOMPARE(recorder.outcome, outcome);
}

void TestEncoderRunner::refusesSecondRunWhileBusy()
{
    QTemporaryDir dir;
    EncoderRunner runner;
    Recorder recorder(runner);
    runner.setCommand(
        childCommand({QStringLiteral("spawn-sleeper"), dir.filePath(QStringLiteral("pid"))}));
    QVERIFY(!runner.start());
    QCOMPARE(runner.start(),
             std::optional(Outcome::CouldNotStart{Outcome::CouldNotStart::Reason::Busy}));
    runner.stop();
    QTRY_COMPARE(recorder.overs, 1);
    QCOMPARE(recorder.outcome, RunOutcome(Outcome::Stopped{}));
}

void TestEncoderRunner::startsNextRunFromfinished()
{
    EncoderRunner first;
    EncoderRunner second;
    Recorder secondRecorder(second);
    int firstOvers = 0;
    connect(&first, &EncoderRunner::finished, this, [&] {
        if (++firstOvers > 1)
            return;
        second.setCommand(childCommand({QStringLiteral("bytes"), QStringLiteral("3")}));
        QVERIFY(!second.start());
        // The same runner is idle again inside its own end event.
        QVERIFY(!first.start());
    });
    first.setCommand(childCommand({QStringLiteral("silent")}));
    QVERIFY(!first.start());
    QTRY_COMPARE(firstOvers, 2);
    QTRY_COMPARE(secondRecorder.overs, 1);
    QCOMPARE(secondRecorder.output(), QStringLiteral("abc"));
}

void TestEncoderRunner::decodesCharactersSplitBetweenChunks()
{
    EncoderRunner runner;
    Recorder recorder(runner);
    runner.setCommand(childCommand({QStringLiteral("utf8")}));
    QVERIFY(!runner.start());
    QTRY_COMPARE(recorder.overs, 1);
    QVERIFY(recorder.chunks.size() > 1);
    QCOMPARE(recorder.output(), QStringLiteral("转换中 完成"));
}

void TestEncoderRunner::passesArgumentsUnchanged()
{
    const QStringList paths = {QStringLiteral("/tmp/my clips/假期 \"best\".avi"),
                               QStringLiteral("-starts-with-dash.mp4"),
                               QStringLiteral("a;b && rm -rf x $(y) `z`.avi")};
    EncoderCommand command(childPath);
    command.appendText(QStringLiteral(" args "));
    for (const QString &path : paths)
        command.appendQuotedPath(path).appendText(QStringLiteral(" "));

    EncoderRunner runner;
    Recorder recorder(runner);
    runner.setCommand(command);
    QVERIFY(!runner.start());
    QTRY_COMPARE(recorder.overs, 1);
    QCOMPARE(recorder.output(), paths.join(u'\n') + u'\n');
}

void TestEncoderRunner::stopEndsWholeProcessGroup()
{
    QTemporaryDir dir;
    const QString pidFile = dir.filePath(QStringLiteral("pid"));
    EncoderRunner runner;
    Recorder recorder(runner);
    runner.setCommand(childCommand({QStringLiteral("spawn-sleeper"), pidFile}));
    QVERIFY(!runner.start());
    QTRY_VERIFY(recorder.output().contains(QStringLiteral("started")));
    QFile file(pidFile);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const qint64 grandchild = file.readAll().trimmed().toLongLong();
    QVERIFY(ProcessTable::isAlive(grandchild));

    QElapsedTimer clock;
    clock.start();
    runner.stop();
    QTRY_COMPARE(recorder.overs, 1);
    QVERIFY(clock.elapsed() < EncoderRunner::StopGraceMilliseconds);
    QCOMPARE(recorder.outcome, RunOutcome(Outcome::Stopped{}));
    QTRY_VERIFY(!ProcessTable::isAlive(grandchild));
}

void TestEncoderRunner::destructionEndsWholeProcessGroup()
{
    QTemporaryDir dir;
    const QString pidFile = dir.filePath(QStringLiteral("pid"));
    qint64 grandchild = 0;
    {
        EncoderRunner runner;
        Recorder recorder(runner);
        runner.setCommand(childCommand({QStringLiteral("spawn-sleeper"), pidFile}));
        QVERIFY(!runner.start());
        QTRY_VERIFY(recorder.output().contains(QStringLiteral("started")));
        QFile file(pidFile);
        QVERIFY(file.open(QIODevice::ReadOnly));
        grandchild = file.readAll().trimmed().toLongLong();
        QVERIFY(ProcessTable::isAlive(grandchild));
    }
    QTRY_VERIFY(!ProcessTable::isAlive(grandchild));
}

void TestEncoderRunner::staysResponsiveWhileChildFloods()
{
    EncoderRunner runner;
    qint64 largestChunk = 0;
    qint64 total = 0;
    connect(&runner, &EncoderRunner::outputReceived, this, [&](const QString &chunk) {
        largestChunk = std::max<qint64>(largestChunk, chunk.size());
        total += chunk.size();
    });
    int overs = 0;
    connect(&runner, &EncoderRunner::finished, this, [&] { ++overs; });
    int ticks = 0;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, this, [&] { ++ticks; });
    ticker.start(50);
    runner.setCommand(childCommand({QStringLiteral("flood"), QStringLiteral("2")}));
    QVERIFY(!runner.start());
    QTRY_COMPARE_WITH_TIMEOUT(overs, 1, 30000);
    QVERIFY(ticks >= 10);
    QVERIFY(largestChunk <= EncoderRunner::ChunkSize);
    QVERIFY(total > 0);
}

QTEST_GUILESS_MAIN(TestEncoderRunner)
#include "tst_encoderrunner.moc"
