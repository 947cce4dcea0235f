#pragma once

#include "jobs/FolderScan.h"

#include <QObject>
#include <QString>

class DropHint;
class FolderDialog;
class JobList;

// The Add Folder command: asks for a folder and queues every file beneath
// it. The search runs off the owner's thread; while it runs the hint panel
// is shown with a searching text, which the window follows through
// hintTextChanged(). A second Add Folder is refused until the search ends.
class FolderIntake final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FolderIntake)

public:
    FolderIntake(JobList &jobs, DropHint &hint, FolderDialog &dialog, QObject *parent = nullptr);

    static QString title();
    static QString idleHintText();
    static QString searchingHintText();

    // True when a search has been started; false when the user cancelled
    // or a search is already under way. The chooser opens at the start
    // folder, which then becomes the folder chosen.
    bool addFolderToJobs();
    QString startFolder() const { return m_startFolder; }
    void setStartFolder(const QString &folder) { m_startFolder = folder; }

    QString hintText() const { return m_hintText; }
    bool isSearching() const { return m_scan.isRunning(); }

Q_SIGNALS:
    void hintTextChanged(const QString &text);
    // Tells when a search starts and when all its files have been queued.
    void searchingChanged(bool searching);

private:
    void setHintText(const QString &text);
    void finishSearch();

    JobList &m_jobs;
    DropHint &m_hint;
    FolderDialog &m_dialog;
    FolderScan m_scan;
    QString m_startFolder;
    QString m_hintText;
};
