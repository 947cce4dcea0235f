#pragma once

#include <QString>

class FileChooser;
class JobList;

// The Add File command: the files chosen with the window's dialog object
// are queued in the dialog's order, and the next dialog starts in the
// folder of the last one.
class FileIntake final
{
public:
    FileIntake(JobList &jobs, FileChooser &dialogs);

    static QString title();
    static QString filter();

    // False when the dialog was cancelled; then nothing changes, not even
    // the hint panel.
    bool addFileToJobs();

    // The folder, with its trailing separator, of the last file chosen.
    QString lastAddFolder() const { return m_lastAddFolder; }

private:
    JobList &m_jobs;
    FileChooser &m_dialogs;
    QString m_lastAddFolder;
};
