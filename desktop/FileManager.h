#pragma once

#include <QDBusConnection>
#include <QString>
#include <QStringList>

#include <functional>

// Folders shown in the user's file manager through its interface on the
// session bus, org.freedesktop.FileManager1; xdg-open shows them where no
// file manager answers.
class FileManager final
{
public:
    explicit FileManager(QDBusConnection sessionBus);

    // The folder, with the files of it that are given selected. failed is
    // called, once, when nothing could show it; the answer comes after the
    // call returns.
    void showFolder(const QString &folder, const QStringList &selected,
                    std::function<void()> failed);

private:
    QDBusConnection m_bus;
};
