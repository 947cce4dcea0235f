#include "desktop/EndNotification.h"
#include "desktop/FileManager.h"
#include "desktop/LauncherProgress.h"
#include "desktop/SleepInhibitor.h"
#include "tests/desktop/FakeDesktopServices.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using Service = FakeDesktopServices::Service;
using Services = FakeDesktopServices::Services;

// The desktop session's parts against stand-in services on a private bus:
// the program's side and the services' side are two connections to it.
class TestDesktopSession final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();
    void inhibitorTakesTheFirstWayThatAnswers_data();
    void inhibitorTakesTheFirstWayThatAnswers();
    void releasedBeforeTheAnswerGivesItUp();
    void notificationActionComesBack();
    void launcherShowsAndClears();
    void fileManagerShowsTheFolder_data();
    void fileManagerShowsTheFolder();

private:
    // A new pair of connections, the services offered on one of them.
    QDBusConnection connect(const QString &name);
    FakeDesktopServices &offer(Services services);

    QTemporaryDir m_dir;
    QString m_xdgOpenLog;
    QProcess m_daemon;
    QString m_address;
    QStringList m_connections;
    std::unique_ptr<FakeDesktopServices> m_fakes;
};

void TestDesktopSession::initTestCase()
{
    const QString daemon = QStandardPaths::findExecutable(u"dbus-daemon"_s);
    if (daemon.isEmpty())
        QSKIP("dbus-daemon is not installed (tools/setup.sh installs it)");
    m_daemon.start(daemon, {u"--session"_s, u"--nofork"_s, u"--print-address"_s,
                            u"--address=unix:dir="_s + m_dir.path()});
    QVERIFY(m_daemon.waitForReadyRead(10'000));
    m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
    QVERIFY(!m_address.isEmpty());
    // An xdg-open that finds nothing to open with, and notes what it was given.
    QVERIFY(QDir(m_dir.path()).mkdir(u"bin"_s));
    QFile xdgOpen(m_dir.filePath(u"bin/xdg-open"_s));
    m_xdgOpenLog = m_dir.filePath(u"xdg-open.log"_s);
    QVERIFY(xdgOpen.open(QIODevice::WriteOnly));
    xdgOpen.write("#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" + m_xdgOpenLog.toUtf8() + "'\nexit 3\n");
    xdgOpen.close();
    QVERIFY(xdgOpen.setPermissions(xdgOpen.permissions() | QFile::ExeOwner));
    qputenv("PATH", QFile::encodeName(m_dir.filePath(u"bin"_s)) + ':' + qgetenv("PATH"));
}

void TestDesktopSession::cleanupTestCase()
{
    m_daemon.terminate();
    m_daemon.waitForFinished();
}

void TestDesktopSession::cleanup()
{
    m_fakes.reset();
    for (const QString &name : std::as_const(m_connections))
        QDBusConnection::disconnectFromBus(name);
    m_connections.clear();
    QFile::remove(m_xdgOpenLog);
}

QDBusConnection TestDesktopSession::connect(const QString &name)
{
    const QString unique = name + QString::number(m_connections.size());
    m_connections.append(unique);
    return QDBusConnection::connectToBus(m_address, unique);
}

FakeDesktopServices &TestDesktopSession::offer(Services services)
{
    m_fakes = std::make_unique<FakeDesktopServices>(connect(u"services"_s), services);
    return *m_fakes;
}

void TestDesktopSession::inhibitorTakesTheFirstWayThatAnswers_data()
{
    QTest::addColumn<Services>("services");
    QTest::addColumn<SleepInhibitor::Way>("way");
    QTest::addColumn<QStringList>("whileHeld");
    QTest::addColumn<QString>("onRelease");
    const Services all{Service::Logind, Service::Portal, Service::ScreenSaver};
    QTest::newRow("logind first") << all << SleepInhibitor::Way::Logind
                                  << QStringList{u"login1.Inhibit sleep:idle block"_s}
                                  << u"login1.released"_s;
    QTest::newRow("the portal without logind")
        << Services{Service::Portal, Service::ScreenSaver} << SleepInhibitor::Way::Portal
        << QStringList{u"portal.Inhibit flags=12"_s} << u"portal.Request.Close"_s;
    QTest::newRow("the screen saver last")
        << Services{Service::ScreenSaver} << SleepInhibitor::Way::ScreenSaver
        << QStringList{u"ScreenSaver.Inhibit Zenvora"_s} << u"ScreenSaver.UnInhibit 41"_s;
    QTest::newRow("none") << Services{} << SleepInhibitor::Way::None << QStringList{} << QString();
}

void TestDesktopSession::inhibitorTakesTheFirstWayThatAnswers()
{
    QFETCH(Services, services);
    QFETCH(SleepInhibitor::Way, way);
    QFETCH(QStringList, whileHeld);
    QFETCH(QString, onRelease);
    FakeDesktopServices &fakes = offer(services);
    const QDBusConnection bus = connect(u"program"_s);
    SleepInhibitor inhibitor(bus, bus, u"converting"_s);
    QSignalSpy held(&inhibitor, &SleepInhibitor::held);
    QSignalSpy unavailable(&inhibitor, &SleepInhibitor::unavailable);

    inhibitor.hold();
    inhibitor.hold();
    QTRY_COMPARE(held.size() + unavailable.size(), 1);
    QCOMPARE(inhibitor.way(), way);
    QCOMPARE(fakes.calls(), whileHeld);
    if (way == SleepInhibitor::Way::None)
        QCOMPARE(unavailable.first().first().toStringList().size(), 3);

    inhibitor.release();
    if (!onRelease.isEmpty())
        QTRY_COMPARE(fakes.calls(), whileHeld + QStringList{onRelease});
    QCOMPARE(inhibitor.way(), SleepInhibitor::Way::None);
}

// A batch that ends before the desktop has answered leaves nothing held.
void TestDesktopSession::releasedBeforeTheAnswerGivesItUp()
{
    FakeDesktopServices &fakes = offer(Service::Logind);
    const QDBusConnection bus = connect(u"program"_s);
    SleepInhibitor inhibitor(bus, bus, u"converting"_s);
    QSignalSpy held(&inhibitor, &SleepInhibitor::held);
    inhibitor.hold();
    inhibitor.release();
    QTRY_COMPARE(fakes.calls(),
                 (QStringList{u"login1.Inhibit sleep:idle block"_s, u"login1.released"_s}));
    QCOMPARE(held.size(), 0);
    QCOMPARE(inhibitor.way(), SleepInhibitor::Way::None);
}

void TestDesktopSession::notificationActionComesBack()
{
    FakeDesktopServices &fakes = offer(Service::Notifications);
    EndNotification notification(connect(u"program"_s), u"zenvora"_s);
    QSignalSpy chosen(&notification, &EndNotification::actionInvoked);
    QVERIFY(notification.show(u"转换完成"_s, u"4 个成功，1 个失败"_s, u"打开文件夹"_s));
    QTRY_COMPARE(
        fakes.calls(),
        QStringList{u"Notifications.Notify 转换完成|4 个成功，1 个失败|default,打开文件夹"_s});
    // Only its own notification's action counts; the id comes with the answer.
    QTest::qWait(100);
    fakes.invokeAction(7, u"default"_s);
    fakes.invokeAction(1, u"default"_s);
    QTRY_COMPARE(chosen.size(), 1);
    QTest::qWait(100);
    QCOMPARE(chosen.size(), 1);
    QVERIFY(!EndNotification(QDBusConnection(QString()), {}).show(u"a"_s, u"b"_s, u"c"_s));
}

void TestDesktopSession::launcherShowsAndClears()
{
    FakeDesktopServices &fakes = offer(Service::Launcher);
    LauncherProgress launcher(connect(u"program"_s), u"zenvora.desktop"_s);
    launcher.show(0.25, 3);
    launcher.show(1.5, 0);
    launcher.clear();
    const QString entry = u"LauncherEntry.Update application://zenvora.desktop "_s;
    QTRY_COMPARE(fakes.calls(), (QStringList{entry + u"progress=0.25 visible=yes count=3"_s,
                                             entry + u"progress=1 visible=yes count=0"_s,
                                             entry + u"progress=0 visible=no count=0"_s}));
}

void TestDesktopSession::fileManagerShowsTheFolder_data()
{
    QTest::addColumn<Services>("services");
    QTest::addColumn<bool>("onTheBus");
    QTest::addColumn<QStringList>("selected");
    QTest::addColumn<QString>("call"); // what the file manager is asked; empty: xdg-open is

    const Services fileManager{Service::FileManager};
    QTest::newRow("its files selected")
        << fileManager << true << QStringList{u"a b.mpg"_s, u"c.mpg"_s}
        << u"FileManager1.ShowItems file://%1/a%20b.mpg file://%1/c.mpg"_s;
    QTest::newRow("the folder alone")
        << fileManager << true << QStringList{} << u"FileManager1.ShowFolders file://%1"_s;
    QTest::newRow("no file manager on the bus")
        << Services{} << true << QStringList{u"c.mpg"_s} << QString();
    QTest::newRow("no bus") << fileManager << false << QStringList{} << QString();
}

void TestDesktopSession::fileManagerShowsTheFolder()
{
    QFETCH(Services, services);
    QFETCH(bool, onTheBus);
    QFETCH(QStringList, selected);
    QFETCH(QString, call);
    FakeDesktopServices &fakes = offer(services);
    const QString folder = m_dir.filePath(u"out"_s);
    for (QString &name : selected)
        name.prepend(folder + u'/');
    int failures = 0;
    FileManager(onTheBus ? connect(u"program"_s) : QDBusConnection(QString()))
        .showFolder(folder, selected, [&failures] { ++failures; });
    if (!call.isEmpty()) {
        QTRY_COMPARE(fakes.calls(), QStringList{call.arg(folder)});
        QTest::qWait(100);
        QCOMPARE(failures, 0);
        QVERIFY(!QFile::exists(m_xdgOpenLog));
        return;
    }
    // xdg-open is asked for the folder, and tells that nothing opened it.
    QTRY_COMPARE(failures, 1);
    QCOMPARE(fakes.calls(), QStringList{});
    QFile log(m_xdgOpenLog);
    QVERIFY(log.open(QIODevice::ReadOnly));
    QCOMPARE(log.readAll(), QFile::encodeName(folder) + '\n');
}

QTEST_GUILESS_MAIN(TestDesktopSession)
#include "tst_desktopsession.moc"
