#include "SystemDesktop.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QSoundEffect>

SystemDesktop::SystemDesktop() : m_sound(std::make_unique<QSoundEffect>()) {}

SystemDesktop::~SystemDesktop() = default;

bool SystemDesktop::openUrl(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}

void SystemDesktop::playSound(const QString &file)
{
    if (!QFileInfo(file).isFile()) {
        QApplication::beep();
        return;
    }
    m_sound->setSource(QUrl::fromLocalFile(file));
    m_sound->play();
}
