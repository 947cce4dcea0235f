#pragma once

#include <QString>

class CCommonDialogs;
class JobList;

// The Add File command: one file chosen with the window's dialog object is
// queued, and the next dialog starts in that file's folder.
class FileIntake final
{
public:
    FileIntake(JobList &jobs, CCommonDialogs &dialogs);

    static QString title();
    static QString filter();

    // False when the dialog was cancelled; then nothing changes, not even
    // the hint panel.
    bool AddFileToJobs();

    // The folder, with its trailing separator, of the file last chosen.
    QString LastAddFolder() const { return m_lastAddFolder; }

private:
    JobList &m_jobs;
    CCommonDialogs &m_dialogs;
    QString m_lastAddFolder;
};
