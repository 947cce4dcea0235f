#include "cli/WorkingFolder.h"

#include "engine/AppPaths.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace {

const QString FolderPrefix = u"cli-"_s;
const QString LockName = u"run.lock"_s;
// A folder without a lock comes from a run that had not locked it yet, or
// from a version without locks: only an old one is left over.
constexpr qint64 UnlockedFolderSeconds = 3600;

QString parentFolder()
{
    const QString parent =
        QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + u"/zenvora"_s;
    AppPaths::createPrivateFolder(parent);
    return parent;
}

bool isAbandoned(const QString &folder)
{
    const QString lockPath = folder + u'/' + LockName;
    if (!QFileInfo::exists(lockPath))
        return QFileInfo(folder).lastModified().secsTo(QDateTime::currentDateTime()) >
               UnlockedFolderSeconds;
    QLockFile lock(lockPath);
    // A living run keeps its lock however long it runs, and a run on
    // another machine sharing this home is never taken for dead.
    lock.setStaleLockTime(0);
    if (!lock.tryLock(0))
        return false;
    lock.unlock();
    return true;
}

} // namespace

WorkingFolder::WorkingFolder()
    : m_parent(parentFolder()), m_folder(m_parent + u'/' + FolderPrefix + u"XXXXXX"_s)
{
    if (!m_folder.isValid())
        return;
    m_lock.emplace(m_folder.filePath(LockName));
    m_lock->setStaleLockTime(0);
    m_lock->tryLock(0);
    removeAbandoned();
}

QString WorkingFolder::intermediatePath() const
{
    const QString folder =
        m_folder.isValid() ? m_folder.path() : m_parent + u'/' + FolderPrefix + u"unavailable"_s;
    return folder + u"/tmp.mp4"_s;
}

void WorkingFolder::removeAbandoned() const
{
    const QFileInfoList folders =
        QDir(m_parent).entryInfoList({FolderPrefix + u'*'}, QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QFileInfo &folder : folders) {
        if (folder.absoluteFilePath() != QFileInfo(m_folder.path()).absoluteFilePath() &&
            isAbandoned(folder.absoluteFilePath()))
            QDir(folder.absoluteFilePath()).removeRecursively();
    }
}
