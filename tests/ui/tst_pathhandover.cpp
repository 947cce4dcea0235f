// A running window and a real second start of the program given paths: the
// paths land in the running window's queue and the second start ends.
#include "tests/helpers/ControllerFixture.h"
#include "tests/jobs/TestTree.h"
#include "ui/PathHandOver.h"
#include "ui/SingleInstanceLock.h"
#include "ui/frmMain.h"

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString programDir = qEnvironmentVariable("ZENVORA_PROGRAM_DIR");

} // namespace

class TestPathHandOver : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void secondStartHandsItsPathsOver_data();
    void secondStartHandsItsPathsOver();
    void junkIsRefusedAndNothingQueued_data();
    void junkIsRefusedAndNothingQueued();

private:
    QString home(const QString &name) const { return m_home.path() + u'/' + name; }

    QTemporaryDir m_home;
    TestTree m_tree;
    std::unique_ptr<SingleInstanceLock> m_lock;
    PathHandOver m_handOver;
    ControllerFixture m_fixture;
    std::unique_ptr<frmMain> m_window;
};

void TestPathHandOver::initTestCase()
{
    QVERIFY(m_home.isValid());
    // The second start looks for the running copy where this one is.
    for (const char *name : {"XDG_RUNTIME_DIR", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"}) {
        const QString folder = home(QString::fromLatin1(name));
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        qputenv(name, QFile::encodeName(folder));
    }
    m_lock = std::make_unique<SingleInstanceLock>(SingleInstanceLock::standardFolders());
    QCOMPARE(m_lock->tryLock(), SingleInstanceLock::Outcome::Locked);
    QCOMPARE(m_lock->folder(), home(u"XDG_RUNTIME_DIR"_s));
    // What a copy that crashed leaves behind must not keep the next one deaf.
    QFile leftover(PathHandOver::socketPath(m_lock->folder()));
    QVERIFY(leftover.open(QIODevice::WriteOnly));
    leftover.close();
    QVERIFY2(m_handOver.listen(m_lock->folder()), qPrintable(m_handOver.errorString()));

    QVERIFY(m_tree.add({u"a.avi"_s, u"b clip.mp4"_s, u"假期.avi"_s, u"two\nlines.mp4"_s,
                        u"d/1.avi"_s, u"d/sub/2.mp3"_s}));
    m_fixture.environment.programFolder = programDir;
}

void TestPathHandOver::init()
{
    m_window = std::make_unique<frmMain>(frmMainServices{m_fixture.services()});
    connect(&m_handOver, &PathHandOver::pathsReceived, m_window.get(), &frmMain::queuePaths);
    m_window->show();
    m_window->showMinimized();
}

void TestPathHandOver::cleanup()
{
    m_window.reset();
}

void TestPathHandOver::secondStartHandsItsPathsOver_data()
{
    QTest::addColumn<QStringList>("arguments"); // relative to the second start's folder
    QTest::addColumn<QStringList>("queued");

    QTest::newRow("two files") << QStringList{u"a.avi"_s, u"b clip.mp4"_s}
                               << QStringList{u"a.avi"_s, u"b clip.mp4"_s};
    QTest::newRow("names with Chinese") << QStringList{u"假期.avi"_s, u"b clip.mp4"_s}
                                        << QStringList{u"假期.avi"_s, u"b clip.mp4"_s};
    QTest::newRow("a file and a folder")
        << QStringList{u"b clip.mp4"_s, u"d"_s}
        << QStringList{u"b clip.mp4"_s, u"d/1.avi"_s, u"d/sub/2.mp3"_s};
    QTest::newRow("no paths: ends, hands nothing over") << QStringList{} << QStringList{};
}

void TestPathHandOver::secondStartHandsItsPathsOver()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, queued);
    QProcess second;
    second.setWorkingDirectory(m_tree.path());
    second.setProcessChannelMode(QProcess::ForwardedChannels);
    QSignalSpy finished(&second, &QProcess::finished);

    second.start(programDir + u"/zenvora"_s, arguments);

    // The running window answers from this event loop, so wait in it.
    if (!finished.wait(20000)) {
        second.kill();
        second.waitForFinished();
        QFAIL("the second start did not end");
    }
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QTRY_COMPARE(m_tree.relative(m_window->jobs().paths()), queued);
    // Handed-over files bring the window forward; a bare second start does not.
    QCOMPARE(m_window->isMinimized(), queued.isEmpty());
}

void TestPathHandOver::junkIsRefusedAndNothingQueued_data()
{
    QTest::addColumn<QByteArray>("message");
    QByteArray random(4096, '\0');
    for (qsizetype index = 0; index < random.size(); ++index)
        random[index] = static_cast<char>((index * 7919 + 13) % 251);
    QTest::newRow("random bytes") << random;
    QTest::newRow("no signature") << QByteArray("/tmp/a.avi\0\0", 13);
    QTest::newRow("a relative path") << QByteArray("ZENVORA-PATHS 1\na.avi\0\0", 24);
    QTest::newRow("a control character") << QByteArray("ZENVORA-PATHS 1\n/tmp/a\x01.avi\0\0", 29);
    QTest::newRow("not UTF-8") << QByteArray("ZENVORA-PATHS 1\n/tmp/\xff.avi\0\0", 27);
}

// Whatever else reaches the socket is answered with a refusal and queues
// nothing, while the window goes on listening.
void TestPathHandOver::junkIsRefusedAndNothingQueued()
{
    QFETCH(QByteArray, message);
    QLocalSocket socket;
    socket.connectToServer(PathHandOver::socketPath(m_lock->folder()));
    QVERIFY(socket.waitForConnected(5000));
    socket.write(message);
    QTRY_VERIFY(socket.bytesAvailable() > 0 || socket.state() != QLocalSocket::ConnectedState);
    QCOMPARE(socket.readAll(), QByteArray("-"));
    QCOMPARE(m_window->jobs().paths(), QStringList{});
}

QTEST_MAIN(TestPathHandOver)
#include "tst_pathhandover.moc"
