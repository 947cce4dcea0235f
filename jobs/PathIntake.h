#pragma once

#include "jobs/FolderScan.h"

#include <QObject>
#include <QStringList>

class DropHint;
class JobList;

// Paths given to the window from outside: its own command line, or those a
// second start handed over. Files are queued as they are, folders are
// searched as Add Folder searches them, and everything lands in the order it
// was named, also when more arrives while a folder is being searched.
class PathIntake final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PathIntake)

public:
    PathIntake(JobList &jobs, DropHint &hint, QObject *parent = nullptr);

    void addPaths(const QStringList &paths);

Q_SIGNALS:
    // Everything named so far has been queued.
    void allQueued();

private:
    void queueWaitingPaths();

    JobList &m_jobs;
    DropHint &m_hint;
    FolderScan m_scan;
    QStringList m_waiting;
};
