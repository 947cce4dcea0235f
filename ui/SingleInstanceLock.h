#pragma once

#include <QLockFile>
#include <QStringList>

#include <memory>

// Only one window may convert at a time. The guard is a lock file in the
// first folder where one can be made; only a lock that another live copy
// holds means that copy runs. A folder where no lock file can be made
// (missing, read-only, below a file) is passed over, and when none works the
// window starts without the guard rather than not at all.
class SingleInstanceLock final
{
public:
    enum class Outcome
    {
        Locked,      // this copy holds the lock until it ends
        AnotherRuns, // a live copy holds it: this one ends at once
        Unguarded    // no lock file could be made anywhere
    };

    // Folders in order of preference; empty ones are skipped.
    explicit SingleInstanceLock(QStringList folders);

    // The user's runtime folder, then a private folder under the cache.
    static QStringList standardFolders();
    static QString lockPath(const QString &folder);

    Outcome tryLock();
    // After tryLock: the folder of the lock this copy holds, or of the one
    // another copy holds; empty when unguarded.
    QString folder() const { return m_folder; }

private:
    QStringList m_folders;
    QString m_folder;
    std::unique_ptr<QLockFile> m_lock;
};
