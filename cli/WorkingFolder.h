#pragma once

#include <QLockFile>
#include <QString>
#include <QTemporaryDir>

#include <optional>

// The run's own folder for intermediate files, in the user's cache, so that
// a window and any number of command-line runs never share one. It goes
// with the run; a run that was killed cannot remove it, so each run also
// removes the folders of runs that no longer live, known by their locks.
class WorkingFolder final
{
public:
    WorkingFolder();

    bool isValid() const { return m_folder.isValid(); }
    QString errorString() const { return m_folder.errorString(); }
    // Where a two-stage job's intermediate goes; without a folder, a path
    // in none, so that those jobs fail with a reason.
    QString intermediatePath() const;

private:
    void removeAbandoned() const;

    QString m_parent;
    QTemporaryDir m_folder;
    std::optional<QLockFile> m_lock;
};
