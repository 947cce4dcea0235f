#include "PosixSignals.h"

#include <QProcess>
#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <climits>
#include <csignal>
#include <fcntl.h>
#include <sys/prctl.h>
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

// The read end of a pipe whose write end this process holds for its whole
// life and never passes on (close-on-exec; a child holds it only until its
// exec). The read end sees the end of the pipe once this process has
// ended, however it ended.
int guardPipeReadEnd()
{
    static const int readEnd = [] {
        std::array<int, 2> ends{-1, -1};
        return ::pipe2(ends.data(), O_CLOEXEC) == 0 ? ends[0] : -1;
    }();
    return readEnd;
}

void signalGroup(qint64 group, int signalNumber)
{
    if (group > 1)
        ::kill(-static_cast<pid_t>(group), signalNumber);
}

// Runs in the tool's child before exec. Forks a guard that stays in the
// tool's group and waits for the encoder to end, then kills the group:
// the tool's parent-death signal reaches the tool alone, not what it
// started. The guard keeps no descriptor but the pipe's read end, or it
// would hold the tool's pipes open, and QProcess's report of the exec with
// them. It blocks every signal, so that terminating the group leaves it
// there until the encoder kills the group, or ends.
void startGroupGuard(int readEnd)
{
    if (::_Fork() != 0)
        return;
    if ((readEnd > 0 && ::close_range(0, static_cast<unsigned>(readEnd) - 1, 0) != 0) ||
        ::close_range(static_cast<unsigned>(readEnd) + 1, UINT_MAX, 0) != 0)
        ::_exit(0);
    sigset_t all;
    ::sigfillset(&all);
    ::sigprocmask(SIG_SETMASK, &all, nullptr);
    ::prctl(PR_SET_NAME, "zenvora-guard");
    char byte = 0;
    ssize_t result = 0;
    do
        result = ::read(readEnd, &byte, 1);
    while (result > 0 || (result < 0 && errno == EINTR));
    if (result == 0)
        ::kill(0, SIGKILL);
    ::_exit(0);
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

bool PosixSignals::bindToParent()
{
    const pid_t parent = ::getppid();
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    return ::getppid() == parent;
}

void PosixSignals::bindChildToThisProcess(QProcess &process)
{
    const pid_t encoder = ::getpid();
    const int guardReadEnd = guardPipeReadEnd();
    // Runs in the child between fork and exec: async-signal-safe calls only.
    process.setChildProcessModifier([encoder, guardReadEnd] {
        setHandler(SIGPIPE, SIG_DFL);
        ::setpgid(0, 0);
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != encoder)
            ::_exit(127);
        if (guardReadEnd >= 0)
            startGroupGuard(guardReadEnd);
    });
}

void PosixSignals::terminateGroup(qint64 group)
{
    signalGroup(group, SIGTERM);
}

void PosixSignals::killGroup(qint64 group)
{
    signalGroup(group, SIGKILL);
}

void PosixSignals::readPipe()
{
    unsigned char byte = 0;
    while (::read(selfPipe[0], &byte, 1) == 1)
        Q_EMIT terminationRequested(byte);
}
