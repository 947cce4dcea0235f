#include "engine/EncoderProcesses.h"
#include "tests/helpers/ProcessTable.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

const QString childPath = QStringLiteral(TEST_CHILD_PATH);

} // namespace

class TestEncoderProcesses : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void killsOwnDescendantsIgnoringCase();
    void leavesProcessesThatAreNotOurs();

private:
    QTemporaryDir m_dir;
    QString m_encoder;
};

void TestEncoderProcesses::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_encoder = m_dir.filePath(QStringLiteral("conv.exe"));
    QVERIFY(QFile::copy(childPath, m_encoder));
    QVERIFY(QFile::setPermissions(m_encoder, QFile::ReadOwner | QFile::ExeOwner));
}

void TestEncoderProcesses::killsOwnDescendantsIgnoringCase()
{
    QProcess encoder;
    encoder.start(m_encoder,
                  {QStringLiteral("spawn-sleeper"), m_dir.filePath(QStringLiteral("p"))});
    QVERIFY(encoder.waitForStarted());
    // Its own child is briefly a conv.exe too, between fork and exec.
    QTRY_VERIFY(EncoderProcesses::findDescendantsNamed(QStringLiteral("conv.exe"))
                    .contains(encoder.processId()));

    EncoderProcesses::KillEncoderProcess(QStringLiteral("coder.exe"));
    QVERIFY(!encoder.waitForFinished(300));

    EncoderProcesses::KillEncoderProcess(QStringLiteral("CONV.EXE"));
    QVERIFY(encoder.waitForFinished(5000));
    QCOMPARE(encoder.exitStatus(), QProcess::CrashExit);
    QCOMPARE(encoder.exitCode(), int(SIGTERM));
    QFile sleeper(m_dir.filePath(QStringLiteral("p")));
    QVERIFY(sleeper.open(QIODevice::ReadOnly));
    ::kill(static_cast<pid_t>(sleeper.readAll().trimmed().toLongLong()), SIGKILL);
}

void TestEncoderProcesses::leavesProcessesThatAreNotOurs()
{
    // setsid -f detaches the encoder, so it no longer descends from us.
    const QString pidFile = m_dir.filePath(QStringLiteral("detached"));
    QProcess::execute(QStringLiteral("setsid"),
                      {QStringLiteral("-f"), QStringLiteral("sh"), QStringLiteral("-c"),
                       QStringLiteral("echo $$ > \"$1\"; exec \"$2\" spawn-sleeper \"$1.child\""),
                       QStringLiteral("sh"), pidFile, m_encoder});
    QTRY_VERIFY(QFile::exists(pidFile + QStringLiteral(".child")));
    QFile file(pidFile);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const qint64 detached = file.readAll().trimmed().toLongLong();
    QVERIFY(ProcessTable::isAlive(detached));

    QVERIFY(EncoderProcesses::findDescendantsNamed(QStringLiteral("conv.exe")).isEmpty());
    EncoderProcesses::KillEncoderProcess(QStringLiteral("conv.exe"));
    QTest::qWait(200);
    QVERIFY(ProcessTable::isAlive(detached));
    // The detached encoder leads a session of its own; end it with its sleeper.
    ::kill(-static_cast<pid_t>(detached), SIGKILL);
}

QTEST_GUILESS_MAIN(TestEncoderProcesses)
#include "tst_encoderprocesses.moc"
