#pragma once

#include <QString>

class CCommonDialogs;
class JobList;

// The Add File command: the files chosen with the window's dialog object
// are queued in the dialog's order, and the next dialog starts in the
// folder of the last one.
class FileIntake final
{
public:
    FileIntake(JobList &jobs, CCommonDialogs &dialogs);

    static QString title();
    static QString filter();

    // False when the dialog was cancelled; then nothing changes, not even
    // the hint panel.
    bool AddFileToJobs();

    // The folder, with its trailing separator, of the last file chosen.
    QString LastAddFolder() const { return m_lastAddFolder; }

private:
    JobList &m_jobs;
    CCommonDialogs &m_dialogs;
    QString m_lastAddFolder;
};
