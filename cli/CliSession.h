#pragma once

#include "JobResult.h"
#include "ProgressDisplay.h"

#include <QObject>
#include <QTextStream>

class BatchDriver;

// Tells a terminal what the batch driver does: each job's progress on one
// line, each finished job's output or failure, and a summary at the end.
class CliSession final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CliSession)

public:
    CliSession(BatchDriver &driver, int jobCount, bool interactive, QObject *parent = nullptr);

    // 0 when every job was converted.
    int exitCode() const { return m_exitCode; }

Q_SIGNALS:
    void finished();

private:
    void jobStarted(const QString &inputPath);
    void progressChanged(const ProgressDisplay &display);
    void jobFinished(const JobResult &result);
    void batchFinished(const BatchReport &report);
    void stalled();
    void endProgressLine();

    QTextStream m_out;
    int m_jobCount;
    int m_jobNumber = 0;
    bool m_interactive;
    bool m_progressLineOpen = false;
    QString m_lastCaption;
    int m_exitCode = 0;
};
