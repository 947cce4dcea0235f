#include "cli/BackgroundOutput.h"

#include "cli/StandardOutput.h"

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

// Owned together by the device and its writer, which may outlive it.
struct BackgroundOutput::Shared
{
    int fileDescriptor = -1;
    std::mutex mutex;
    std::condition_variable changed;
    std::string pending;
    bool writing = false;
    bool closing = false;

    bool idle() const { return pending.empty() && !writing; }
    void writeLoop();
};

void BackgroundOutput::Shared::writeLoop()
{
    std::unique_lock lock(mutex);
    for (;;) {
        changed.wait(lock, [this] { return !pending.empty() || closing; });
        if (pending.empty())
            return;
        std::string chunk;
        chunk.swap(pending);
        writing = true;
        lock.unlock();
        StandardOutput::writeAll(fileDescriptor, chunk.data(), chunk.size());
        lock.lock();
        writing = false;
        changed.notify_all();
    }
}

BackgroundOutput::BackgroundOutput(int fileDescriptor, QObject *parent)
    : QIODevice(parent), m_shared(std::make_shared<Shared>())
{
    m_shared->fileDescriptor = fileDescriptor;
    open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    std::thread([shared = m_shared] { shared->writeLoop(); }).detach();
}

BackgroundOutput::~BackgroundOutput()
{
    {
        const std::lock_guard lock(m_shared->mutex);
        m_shared->closing = true;
    }
    m_shared->changed.notify_all();
}

bool BackgroundOutput::drain(std::chrono::milliseconds patience)
{
    std::unique_lock lock(m_shared->mutex);
    return m_shared->changed.wait_for(lock, patience, [this] { return m_shared->idle(); });
}

qint64 BackgroundOutput::readData(char *, qint64)
{
    return -1;
}

qint64 BackgroundOutput::writeData(const char *data, qint64 size)
{
    {
        const std::lock_guard lock(m_shared->mutex);
        m_shared->pending.append(data, static_cast<std::size_t>(size));
    }
    m_shared->changed.notify_all();
    return size;
}
