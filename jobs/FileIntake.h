#pragma once

#include <QString>

class DropHint;
class FileChooser;
class JobList;

// The Add File command: the files chosen with the window's dialog object
// are queued in the dialog's order. The dialog object keeps the folder of
// the last one, where the next dialog starts.
class FileIntake final
{
public:
    FileIntake(JobList &jobs, DropHint &hint, FileChooser &dialogs);

    static QString title();
    static QString filter();

    // False when the dialog was cancelled; then nothing changes, not even
    // the hint panel.
    bool addFileToJobs();

private:
    JobList &m_jobs;
    DropHint &m_hint;
    FileChooser &m_dialogs;
};
