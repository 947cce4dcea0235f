#include "ui/SingleInstanceLock.h"

#include "engine/AppPaths.h"

#include <QFileInfo>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

SingleInstanceLock::SingleInstanceLock(QStringList folders) : m_folders(std::move(folders)) {}

QStringList SingleInstanceLock::standardFolders()
{
    return {QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation),
            QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + u"/zenvora"_s};
}

QString SingleInstanceLock::lockPath(const QString &folder)
{
    return folder + u"/zenvora.lock"_s;
}

SingleInstanceLock::Outcome SingleInstanceLock::tryLock()
{
    for (const QString &folder : std::as_const(m_folders)) {
        // A folder made here is private; one that exists is left as its owner set it.
        if (folder.isEmpty() ||
            !(QFileInfo(folder).isDir() || AppPaths::createPrivateFolder(folder)))
            continue;
        auto lock = std::make_unique<QLockFile>(lockPath(folder));
        // Stale only when its process is gone, however long a batch runs.
        lock->setStaleLockTime(0);
        if (lock->tryLock(0)) {
            m_lock = std::move(lock);
            m_folder = folder;
            return Outcome::Locked;
        }
        // Any other error says nothing about another copy, only about this place.
        if (lock->error() == QLockFile::LockFailedError) {
            m_folder = folder;
            return Outcome::AnotherRuns;
        }
    }
    return Outcome::Unguarded;
}
