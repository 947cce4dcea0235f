#pragma once

#include <QStringList>

class DropHint;
class JobList;
class QMimeData;

// Queuing by drag and drop. A drop queues
// every dropped local path in the order of the drop, folders as one job
// each without looking inside; other data is ignored. Drops are accepted
// at any time, also while a batch runs.
class DropIntake final
{
public:
    DropIntake(JobList &jobs, DropHint &hint);

    // The dropped items that become jobs: local files and folders, in order.
    static QStringList droppedPaths(const QMimeData &data);
    static bool offersFiles(const QMimeData &data) { return !droppedPaths(data).isEmpty(); }

    void addDroppedFiles(const QMimeData &data);

private:
    JobList &m_jobs;
    DropHint &m_hint;
};
