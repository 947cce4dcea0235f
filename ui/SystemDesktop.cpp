#include "ui/SystemDesktop.h"

#include "desktop/DesktopBuses.h"
#include "desktop/FileManager.h"
#include "desktop/XdgOpen.h"

#include <QApplication>

using namespace Qt::StringLiterals;

SystemDesktop::SystemDesktop(const QString &soundFile)
    : m_inhibitor(QDBusConnection::systemBus(), DesktopBuses::session(),
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

// Looked up at each call, as a session bus may come after the window.
void SystemDesktop::showFolder(const QString &folder, const QStringList &selected, Failed failed)
{
    FileManager(DesktopBuses::session()).showFolder(folder, selected, std::move(failed));
}

void SystemDesktop::openUrl(const QUrl &url, Failed failed)
{
    XdgOpen::open(url, std::move(failed));
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
