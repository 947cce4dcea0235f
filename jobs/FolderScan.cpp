#include "jobs/FolderScan.h"

#include "jobs/SearchFolderFiles.h"

#include <QElapsedTimer>

#include <utility>

namespace {

// A batch is handed over when it is this large or this old, so the owner's
// thread gets few, cheap insertions and still sees progress promptly.
constexpr qsizetype BatchSize = 2000;
constexpr qint64 BatchAgeMs = 50;

} // namespace

FolderScan::FolderScan(QObject *parent) : QObject(parent) {}

FolderScan::~FolderScan()
{
    // Joined here, while the QObject part still exists: the worker may be
    // posting to it. Posted but undelivered batches die with the object.
    m_worker = {};
}

bool FolderScan::start(const QString &folder)
{
    if (m_running)
        return false;
    m_running = true;
    m_worker = std::jthread([this, folder](const std::stop_token &stop) { search(stop, folder); });
    return true;
}

// Runs on the worker thread; it only reads the file system and posts.
void FolderScan::search(const std::stop_token &stop, const QString &folder)
{
    QStringList batch;
    QElapsedTimer age;
    age.start();
    SearchFolderFiles(
        folder,
        [&](const QString &path) {
            batch.append(path);
            if (batch.size() >= BatchSize || age.elapsed() >= BatchAgeMs) {
                deliver(std::exchange(batch, {}));
                age.restart();
            }
        },
        stop);
    if (stop.stop_requested())
        return;
    if (!batch.isEmpty())
        deliver(std::move(batch));
    QMetaObject::invokeMethod(this, &FolderScan::finish, Qt::QueuedConnection);
}

void FolderScan::deliver(QStringList batch)
{
    QMetaObject::invokeMethod(
        this, [this, batch = std::move(batch)] { Q_EMIT filesFound(batch); }, Qt::QueuedConnection);
}

void FolderScan::finish()
{
    // The worker has posted its last event and is returning.
    m_worker.join();
    m_running = false;
    Q_EMIT finished();
}
