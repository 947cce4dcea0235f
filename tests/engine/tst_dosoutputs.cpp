#include "DOSOutputs.h"
#include "ProcessTable.h"
#include "RecordingMessageSink.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

const QString childPath = QStringLiteral(TEST_CHILD_PATH);

EncoderCommand childCommand(const QStringList &arguments)
{
    EncoderCommand command(childPath);
    command.appendText(arguments.join(u' '));
    return command;
}

struct Recorder
{
    explicit Recorder(DOSOutputs &runner)
    {
        QObject::connect(&runner, &DOSOutputs::ReceiveOutputs, &runner,
                         [this](const QString &chunk) { chunks.append(chunk); });
        QObject::connect(&runner, &DOSOutputs::CommandOver, &runner, [this, &runner] {
            ++overs;
            chunksAtOver = chunks.size();
            outputsAtOver = runner.Outputs();
        });
    }
    QStringList chunks;
    int overs = 0;
    qsizetype chunksAtOver = -1;
    QString outputsAtOver;
};

} // namespace

class TestDosOutputs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void deliversLongOutputInOrderedChunks();
    void endsChildWithoutOutput();
    void reportsStartFailuresWithoutEvents_data();
    void reportsStartFailuresWithoutEvents();
    void reportsHowTheChildEnded_data();
    void reportsHowTheChildEnded();
    void refusesSecondRunWhileBusy();
    void startsNextRunFromCommandOver();
    void decodesCharactersSplitBetweenChunks();
    void passesArgumentsUnchanged();
    void splitsCommandLineHonouringQuotes();
    void stopEndsWholeProcessGroup();
    void destructionEndsWholeProcessGroup();
    void staysResponsiveWhileChildFloods();
};

void TestDosOutputs::deliversLongOutputInOrderedChunks()
{
    RecordingMessageSink messages;
    DOSOutputs runner(messages);
    Recorder recorder(runner);
    runner.setCommand(childCommand({QStringLiteral("bytes"), QStringLiteral("5000")}));
    QVERIFY(runner.ExecuteCommand());
    QTRY_COMPARE(recorder.overs, 1);

    QString joined;
    for (const QString &chunk : recorder.chunks) {
        QVERIFY(chunk.size() <= DOSOutputs::ChunkSize);
        joined += chunk;
    }
    QVERIFY(recorder.chunks.size() >= 5);
    QCOMPARE(recorder.chunksAtOver, recorder.chunks.size());
    QCOMPARE(joined.size(), 5000);
    QCOMPARE(joined.left(27), QStringLiteral("abcdefghijklmnopqrstuvwxyza"));
    QCOMPARE(recorder.outputsAtOver, joined);
    QCOMPARE(runner.Outputs(), joined);
    QVERIFY(messages.messages.isEmpty());
    QVERIFY(!runner.isRunning());
}

void TestDosOutputs::endsChildWithoutOutput()
{
    RecordingMessageSink messages;
    DOSOutputs runner(messages);
    Recorder recorder(runner);
    runner.setCommand(childCommand({QStringLiteral("silent")}));
    QVERIFY(runner.ExecuteCommand());
    QTRY_COMPARE(recorder.overs, 1);
    QVERIFY(recorder.chunks.isEmpty());
    QCOMPARE(runner.Outputs(), QString());
    QCOMPARE(runner.lastResult().outcome, DOSOutputs::Outcome::Succeeded);
}

void TestDosOutputs::reportsStartFailuresWithoutEvents_data()
{
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty") << QString() << QStringLiteral("Command Line empty");
    QTest::newRow("missing program") << QStringLiteral("/nonexistent/data/conv.exe \"a.avi\"")
                                     << QStringLiteral("File or command not found");
    QTest::newRow("missing program on PATH") << QStringLiteral("zenvora-no-such-program -x")
                                             << QStringLiteral("File or command not found");
    QTest::newRow("folder instead of program")
        << QStringLiteral("/tmp") << QStringLiteral("File or command not found");
}

void TestDosOutputs::reportsStartFailuresWithoutEvents()
{
    QFETCH(QString, commandLine);
    QFETCH(QString, message);
    RecordingMessageSink messages;
    DOSOutputs runner(messages);
    Recorder recorder(runner);
    runner.setCommandLine(commandLine);
    QVERIFY(!runner.ExecuteCommand());
    QTest::qWait(100);
    QCOMPARE(messages.texts(), QStringList{message});
    QCOMPARE(messages.messages.first().icon, MessageSink::Icon::Critical);
    QCOMPARE(recorder.overs, 0);
    QVERIFY(recorder.chunks.isEmpty());
    QVERIFY(!runner.isRunning());
}

void TestDosOutputs::reportsHowTheChildEnded_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<DOSOutputs::Outcome>("outcome");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("success") << QStringList{QStringLiteral("bytes"), QStringLiteral("10")}
                             << DOSOutputs::Outcome::Succeeded << 0;
    QTest::newRow("exit 3") << QStringList{QStringLiteral("exit"), QStringLiteral("3")}
                            << DOSOutputs::Outcome::ExitedWithError << 3;
    QTest::newRow("crash") << QStringList{QStringLiteral("crash")} << DOSOutputs::Outcome::Crashed
                           << int(SIGABRT);
}

void TestDosOutputs::reportsHowTheChildEnded()
{
    QFETCH(QStringList, arguments);
    QFETCH(DOSOutputs::Outcome, outcome);
    QFETCH(int, exitCode);
    RecordingMessageSink messages;
    DOSOutputs runner(messages);
    Recorder recorder(runner);
    runner.setCommand(childCommand(arguments));
    QVERIFY(runner.ExecuteCommand());
    QTRY_COMPARE(recorder.overs, 1);
    QCOMPARE(runner.lastResult().outcome, outcome);
    QCOMPARE(runner.lastResult().exitCode, exitCode);
    QVERIFY(messages.messages.isEmpty());
}

void TestDosOutputs::refusesSecondRunWhileBusy()
{
    QTemporaryDir dir;
    RecordingMessageSink messages;
    DOSOutputs runner(messages);
    Recorder recorder(runner);
    runner.setCommand(
        childCommand({QStringLiteral("spawn-sleeper"), dir.filePath(QStringLiteral("pid"))}));
    QVERIFY(runner.ExecuteCommand());
    const QString firstCommand = runner.CommandLine();
    QVERIFY(!runner.ExecuteCommand(childPath + QStringLiteral(" silent")));
    QCOMPARE(runner.CommandLine(), firstCommand);
    runner.stop();
    QTRY_COMPARE(recorder.overs, 1);
    QCOMPARE(runner.lastResult().outcome, DOSOutputs::Outcome::Stopped);
}

void TestDosOutputs::startsNextRunFromCommandOver()
{
    RecordingMessageSink messages;
    DOSOutputs first(messages);
    DOSOutputs second(messages);
    Recorder secondRecorder(second);
    int firstOvers = 0;
    connect(&first, &DOSOutputs::CommandOver, this, [&] {
        if (++firstOvers > 1)
            return;
        second.setCommand(childCommand({QStringLiteral("bytes"), QStringLiteral("3")}));
        QVERIFY(second.ExecuteCommand());
        // The same runner is idle again inside its own end event.
        QVERIFY(first.ExecuteCommand(childPath + QStringLiteral(" silent")));
    });
    first.setCommand(childCommand({QStringLiteral("silent")}));
    QVERIFY(first.ExecuteCommand());
    QTRY_COMPARE(firstOvers, 2);
    QTRY_COMPARE(secondRecorder.overs, 1);
    QCOMPARE(second.Outputs(), QStringLiteral("abc"));
}

void TestDosOutputs::decodesCharactersSplitBetweenChunks()
{
    RecordingMessageSink messages;
    DOSOutputs runner(messages);
    Recorder recorder(runner);
    runner.setCommand(childCommand({QStringLiteral("utf8")}));
    QVERIFY(runner.ExecuteCommand());
    QTRY_COMPARE(recorder.overs, 1);
    QVERIFY(recorder.chunks.size() > 1);
    QCOMPARE(runner.Outputs(), QStringLiteral("转换中 完成"));
    QVERIFY(!runner.Outputs().contains(QChar::ReplacementCharacter));
}

void TestDosOutputs::passesArgumentsUnchanged()
{
    const QStringList paths = {QStringLiteral("/tmp/my clips/假期 \"best\".avi"),
                               QStringLiteral("-starts-with-dash.mp4"),
                               QStringLiteral("a;b && rm -rf x $(y) `z`.avi")};
    EncoderCommand command(childPath);
    command.appendText(QStringLiteral(" args "));
    for (const QString &path : paths)
        command.appendQuotedPath(path).appendText(QStringLiteral(" "));

    RecordingMessageSink messages;
    DOSOutputs runner(messages);
    Recorder recorder(runner);
    runner.setCommand(command);
    QVERIFY(runner.ExecuteCommand());
    QTRY_COMPARE(recorder.overs, 1);
    QCOMPARE(runner.Outputs(), paths.join(u'\n') + u'\n');
}

void TestDosOutputs::splitsCommandLineHonouringQuotes()
{
    RecordingMessageSink messages;
    DOSOutputs runner(messages);
    Recorder recorder(runner);
    const QString line = childPath + QStringLiteral(" args \"/tmp/a b/c.avi\" -y  -ab 12.2k");
    QVERIFY(runner.ExecuteCommand(line));
    QCOMPARE(runner.CommandLine(), line);
    QTRY_COMPARE(recorder.overs, 1);
    QCOMPARE(runner.Outputs(), QStringLiteral("/tmp/a b/c.avi\n-y\n-ab\n12.2k\n"));
}

void TestDosOutputs::stopEndsWholeProcessGroup()
{
    QTemporaryDir dir;
    const QString pidFile = dir.filePath(QStringLiteral("pid"));
    RecordingMessageSink messages;
    DOSOutputs runner(messages);
    Recorder recorder(runner);
    runner.setCommand(childCommand({QStringLiteral("spawn-sleeper"), pidFile}));
    QVERIFY(runner.ExecuteCommand());
    QTRY_VERIFY(runner.Outputs().contains(QStringLiteral("started")));
    QFile file(pidFile);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const qint64 grandchild = file.readAll().trimmed().toLongLong();
    QVERIFY(ProcessTable::isAlive(grandchild));

    QElapsedTimer clock;
    clock.start();
    runner.stop();
    QTRY_COMPARE(recorder.overs, 1);
    QVERIFY(clock.elapsed() < DOSOutputs::StopGraceMilliseconds);
    QCOMPARE(runner.lastResult().outcome, DOSOutputs::Outcome::Stopped);
    QTRY_VERIFY(!ProcessTable::isAlive(grandchild));
}

void TestDosOutputs::destructionEndsWholeProcessGroup()
{
    QTemporaryDir dir;
    const QString pidFile = dir.filePath(QStringLiteral("pid"));
    RecordingMessageSink messages;
    qint64 grandchild = 0;
    {
        DOSOutputs runner(messages);
        runner.setCommand(childCommand({QStringLiteral("spawn-sleeper"), pidFile}));
        QVERIFY(runner.ExecuteCommand());
        QTRY_VERIFY(runner.Outputs().contains(QStringLiteral("started")));
        QFile file(pidFile);
        QVERIFY(file.open(QIODevice::ReadOnly));
        grandchild = file.readAll().trimmed().toLongLong();
        QVERIFY(ProcessTable::isAlive(grandchild));
    }
    QTRY_VERIFY(!ProcessTable::isAlive(grandchild));
}

void TestDosOutputs::staysResponsiveWhileChildFloods()
{
    RecordingMessageSink messages;
    DOSOutputs runner(messages);
    qint64 largestChunk = 0;
    qint64 total = 0;
    connect(&runner, &DOSOutputs::ReceiveOutputs, this, [&](const QString &chunk) {
        largestChunk = std::max<qint64>(largestChunk, chunk.size());
        total += chunk.size();
    });
    int overs = 0;
    connect(&runner, &DOSOutputs::CommandOver, this, [&] { ++overs; });
    int ticks = 0;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, this, [&] { ++ticks; });
    ticker.start(50);
    runner.setCommand(childCommand({QStringLiteral("flood"), QStringLiteral("2")}));
    QVERIFY(runner.ExecuteCommand());
    QTRY_COMPARE_WITH_TIMEOUT(overs, 1, 30000);
    QVERIFY(ticks >= 10);
    QVERIFY(largestChunk <= DOSOutputs::ChunkSize);
    QCOMPARE(total, runner.Outputs().size());
}

QTEST_GUILESS_MAIN(TestDosOutputs)
#include "tst_dosoutputs.moc"
