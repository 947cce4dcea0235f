#pragma once

#include <QIODevice>

#include <chrono>
#include <memory>

// Standard output written by a thread of its own, so that a reader that
// stops reading (a pager left open) never blocks the event loop: the batch
// still answers a termination signal and cleans up. Bytes keep their order.
class BackgroundOutput final : public QIODevice
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BackgroundOutput)

public:
    explicit BackgroundOutput(int fileDescriptor, QObject *parent = nullptr);
    // A writer still blocked is left behind with what it holds; the process
    // is ending.
    ~BackgroundOutput() override;

    // Waits until everything written so far has been handed to the system;
    // false when the reader did not take it within the time given.
    bool drain(std::chrono::milliseconds patience);

    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *data, qint64 size) override;

private:
    struct Shared;
    std::shared_ptr<Shared> m_shared;
};
