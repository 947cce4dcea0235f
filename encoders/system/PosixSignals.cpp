#include "encoders/system/PosixSignals.h"

#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

std::array<int, 2> selfPipe{-1, -1};
constexpr std::array<int, 3> TerminationSignals{SIGTERM, SIGINT, SIGHUP};

void onTerminationSignal(int signalNumber)
{
    const int savedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    [[maybe_unused]] const ssize_t written = ::write(selfPipe[1], &byte, 1);
    errno = savedErrno;
}

void setHandler(int signalNumber, void (*handler)(int))
{
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(signalNumber, &action, nullptr);
}

} // namespace

PosixSignals::PosixSignals(QObject *parent) : QObject(parent)
{
    if (::pipe2(selfPipe.data(), O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_notifier = new QSocketNotifier(selfPipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &PosixSignals::readPipe);
    for (const int signalNumber : TerminationSignals)
        setHandler(signalNumber, onTerminationSignal);
    setHandler(SIGPIPE, SIG_IGN);
}

PosixSignals::~PosixSignals()
{
    for (const int signalNumber : TerminationSignals)
        setHandler(signalNumber, SIG_DFL);
    for (int &end : selfPipe) {
        if (end >= 0)
            ::close(end);
        end = -1;
    }
}

void PosixSignals::readPipe()
{
    unsigned char byte = 0;
    while (::read(selfPipe[0], &byte, 1) == 1)
        Q_EMIT terminationRequested(byte);
}
