#include "SystemDesktop.h"

#include <QApplication>
#include <QDesktopServices>

SystemDesktop::SystemDesktop(const QString &soundFile)
{
    if (!soundFile.isEmpty())
        m_chime.prepare(soundFile);
}

bool SystemDesktop::openUrl(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}

void SystemDesktop::playSound(const QString &file)
{
    if (!m_chime.play(file))
        QApplication::beep();
}
