#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

class JobList;

// The queue kept on disk, so that a close or a crash loses no file: written
// once each change of the job list is complete, and offered back once at
// the next start.
class QueueStore final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(QueueStore)

public:
    // An empty state folder keeps no queue on disk.
    explicit QueueStore(QString stateFolder, QObject *parent = nullptr);

    // Every change of the list is kept once the change is complete, so a
    // folder added in many steps is written once per step of the loop.
    void follow(const JobList &jobs);

    QString queueFile() const;
    // The files the last run left unconverted, until offerAnswered().
    QStringList savedQueue() const { return m_saved; }
    static QString restoreQuestion(int count);
    void offerAnswered();
    // Declined: the files stay on disk until the queue next changes.
    void offerDeclined();
    // The queue as the window now holds it, written at once and whole.
    void queueChanged(const QStringList &paths);

private:
    void writeQueue();

    QString m_stateFolder;
    QStringList m_saved;
    bool m_savedDeclined = false;
    QStringList m_queue;
    QTimer m_changed;
};
