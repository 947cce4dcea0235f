#pragma once

#include <QDBusConnection>
#include <QString>

// The batch's progress on the program's taskbar or dock entry, through the
// launcher-entry signal that KDE Plasma's task manager and GNOME's docks
// read: how far the batch is, and how many files are left.
class LauncherProgress final
{
public:
    // desktopFile: the name of the program's .desktop file.
    LauncherProgress(QDBusConnection sessionBus, QString desktopFile);

    // fraction from 0 to 1.
    void show(double fraction, int filesLeft);
    void clear();

private:
    void update(const QVariantMap &properties);

    QDBusConnection m_bus;
    QString m_appUri;
};
