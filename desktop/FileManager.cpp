#include "desktop/FileManager.h"

#include "desktop/XdgOpen.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QUrl>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

// A file manager started by the call may take a few seconds to answer.
constexpr int FileManagerTimeoutMilliseconds = 10'000;

QStringList fileUris(const QStringList &paths)
{
    QStringList uris;
    for (const QString &path : paths)
        uris.append(QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded));
    return uris;
}

} // namespace

FileManager::FileManager(QDBusConnection sessionBus) : m_bus(std::move(sessionBus)) {}

void FileManager::showFolder(const QString &folder, const QStringList &selected,
                             std::function<void()> failed)
{
    const QUrl folderUrl = QUrl::fromLocalFile(folder);
    if (!m_bus.isConnected()) {
        XdgOpen::open(folderUrl, failed);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        u"org.freedesktop.FileManager1"_s, u"/org/freedesktop/FileManager1"_s,
        u"org.freedesktop.FileManager1"_s, selected.isEmpty() ? u"ShowFolders"_s : u"ShowItems"_s);
    call << (selected.isEmpty() ? fileUris({folder}) : fileUris(selected)) << QString();
    auto *watcher = new QDBusPendingCallWatcher(
        m_bus.asyncCall(call, FileManagerTimeoutMilliseconds), QCoreApplication::instance());
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [watcher, folderUrl, failed] {
                         watcher->deleteLater();
                         if (!watcher->isError())
                             return;
                         std::fprintf(stderr, "zenvora: %s\n",
                                      qUtf8Printable(u"the file manager did not show %1: %2"_s.arg(
                                          folderUrl.toLocalFile(), watcher->error().message())));
                         XdgOpen::open(folderUrl, failed);
                     });
}
