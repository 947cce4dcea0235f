#pragma once

#include <QObject>
#include <QStringList>

#include <thread>

// Runs SearchFolderFiles on a thread of its own, so a large tree never
// blocks the thread that owns the scan. Found paths arrive on the owner's
// thread in batches, in search order, followed by finished(). Destroying
// the scan stops a search under way; nothing is delivered after that.
class FolderScan final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FolderScan)

public:
    explicit FolderScan(QObject *parent = nullptr);
    ~FolderScan() override;

    // False, and nothing happens, while a search is under way.
    bool start(const QString &folder);
    bool isRunning() const { return m_running; }

Q_SIGNALS:
    void filesFound(const QStringList &batch);
    void finished();

private:
    void search(const std::stop_token &stop, const QString &folder);
    void deliver(QStringList batch);
    void finish();

    std::jthread m_worker;
    bool m_running = false;
};
