#include "jobs/PathIntake.h"

#include "jobs/DropHint.h"
#include "jobs/JobList.h"

#include <QDir>
#include <QFileInfo>

PathIntake::PathIntake(JobList &jobs, DropHint &hint, QObject *parent)
    : QObject(parent), m_jobs(jobs), m_hint(hint)
{
    connect(&m_scan, &FolderScan::filesFound, &m_jobs, &JobList::addJobs);
    connect(&m_scan, &FolderScan::finished, this, &PathIntake::queueWaitingPaths);
}

void PathIntake::addPaths(const QStringList &paths)
{
    m_waiting += paths;
    if (!m_scan.isRunning())
        queueWaitingPaths();
}

void PathIntake::queueWaitingPaths()
{
    while (!m_waiting.isEmpty()) {
        const QString path = m_waiting.takeFirst();
        // What is not a folder is queued as named, like a dropped file;
        // one that cannot be read fails in the batch with its reason.
        if (QFileInfo(path).isDir()) {
            // "media/" from a shell's completion: the files under it are
            // named without a doubled separator.
            m_scan.start(QDir::cleanPath(path));
            return;
        }
        m_jobs.addJob(path);
    }
    m_hint.update();
    Q_EMIT allQueued();
}
