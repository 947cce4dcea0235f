#pragma once

#include <QString>
#include <QStringList>

class FileOpenDialog;
class JobList;
class QMimeData;

// Queuing by drag and drop, and by a click on the drop zone. A drop queues
// every dropped local path in the order of the drop, folders as one job
// each without looking inside; other data is ignored. Drops are accepted
// at any time, also while a batch runs.
class DropIntake final
{
public:
    DropIntake(JobList &jobs, FileOpenDialog &dialog, QString programFolder);

    static QString dropZoneTitle();
    static QString dropZoneFilter();

    // The dropped items that become jobs: local files and folders, in order.
    static QStringList DroppedPaths(const QMimeData &data);
    static bool offersFiles(const QMimeData &data) { return !DroppedPaths(data).isEmpty(); }

    void AddDroppedFiles(const QMimeData &data);
    // False when the dialog was cancelled; then nothing changes.
    bool AddFileFromDropZone();

private:
    JobList &m_jobs;
    FileOpenDialog &m_dialog;
    QString m_programFolder;
};
