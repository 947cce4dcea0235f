#include "ui/SystemDesktop.h"

#include "desktop/DesktopBuses.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QProcess>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

// A file manager started by the call may take a few seconds to answer.
constexpr int FileManagerTimeoutMilliseconds = 10'000;

void tellStandardError(const QString &line)
{
    std::fprintf(stderr, "zenvora: %s\n", qUtf8Printable(line));
}

// xdg-open exits once the program it chose has taken the page, or when
// there is none (status 3) or the program failed (4). Some programs keep it
// waiting until they close: the window never waits for it.
void openWithXdgOpen(const QUrl &url, const Desktop::Failed &failed)
{
    auto *process = new QProcess(qApp);
    process->setProgram(u"xdg-open"_s);
    process->setArguments({url.isLocalFile() ? url.toLocalFile() : url.toString()});
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QObject::connect(process, &QProcess::finished, process,
                     [process, url, failed](int exitCode, QProcess::ExitStatus status) {
                         process->deleteLater();
                         if (status == QProcess::NormalExit && exitCode == 0)
                             return;
                         tellStandardError(u"xdg-open could not open %1 (exit status %2)"_s.arg(
                             url.toDisplayString(), QString::number(exitCode)));
                         failed();
                     });
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process, failed](QProcess::ProcessError error) {
                         if (error != QProcess::FailedToStart)
                             return;
                         process->deleteLater();
                         tellStandardError(u"xdg-open could not be started: "_s +
                                           process->errorString());
                         failed();
                     });
    process->start();
}

QStringList fileUris(const QStringList &paths)
{
    QStringList uris;
    for (const QString &path : paths)
        uris.append(QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded));
    return uris;
}

} // namespace

SystemDesktop::SystemDesktop(const QString &soundFile)
    : m_inhibitor(DesktopBuses::system(), DesktopBuses::session(),
                  QCoreApplication::translate("SystemDesktop", "正在转换视频")),
      m_launcher(DesktopBuses::session(), u"zenvora.desktop"_s),
      m_notification(DesktopBuses::session(), u"zenvora"_s)
{
    if (!soundFile.isEmpty())
        m_chime.prepare(soundFile);
    QObject::connect(&m_notification, &EndNotification::actionInvoked, &m_notification, [this] {
        if (m_notificationChosen)
            m_notificationChosen();
    });
}

void SystemDesktop::showFolder(const QString &folder, const QStringList &selected, Failed failed)
{
    const QUrl folderUrl = QUrl::fromLocalFile(folder);
    QDBusConnection bus = DesktopBuses::session();
    if (!bus.isConnected()) {
        openWithXdgOpen(folderUrl, failed);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        u"org.freedesktop.FileManager1"_s, u"/org/freedesktop/FileManager1"_s,
        u"org.freedesktop.FileManager1"_s, selected.isEmpty() ? u"ShowFolders"_s : u"ShowItems"_s);
    call << (selected.isEmpty() ? fileUris({folder}) : fileUris(selected)) << QString();
    auto *watcher =
        new QDBusPendingCallWatcher(bus.asyncCall(call, FileManagerTimeoutMilliseconds), qApp);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [watcher, folderUrl, failed] {
                         watcher->deleteLater();
                         if (!watcher->isError())
                             return;
                         tellStandardError(u"the file manager did not show %1: %2"_s.arg(
                             folderUrl.toLocalFile(), watcher->error().message()));
                         openWithXdgOpen(folderUrl, failed);
                     });
}

void SystemDesktop::openUrl(const QUrl &url, Failed failed)
{
    openWithXdgOpen(url, failed);
}

void SystemDesktop::playSound(const QString &file)
{
    if (!m_chime.play(file))
        QApplication::beep();
}

void SystemDesktop::stayAwake(Failed failed)
{
    QObject::disconnect(&m_inhibitor, &SleepInhibitor::unavailable, nullptr, nullptr);
    QObject::connect(&m_inhibitor, &SleepInhibitor::unavailable, &m_inhibitor,
                     [failed = std::move(failed)] { failed(); });
    m_inhibitor.hold();
}

void SystemDesktop::allowSleep()
{
    m_inhibitor.release();
}

void SystemDesktop::showBatchProgress(std::optional<double> fraction, int filesLeft)
{
    if (fraction)
        m_launcher.show(*fraction, filesLeft);
    else
        m_launcher.clear();
}

void SystemDesktop::notify(const QString &title, const QString &text, const QString &action,
                           std::function<void()> chosen)
{
    m_notificationChosen = std::move(chosen);
    m_notification.show(title, text, action);
}
