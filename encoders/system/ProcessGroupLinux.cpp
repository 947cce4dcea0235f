#include "encoders/system/ProcessGroup.h"

#include <QProcess>

#include <array>
#include <cerrno>
#include <climits>
#include <csignal>
#include <fcntl.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace ProcessGroup {

namespace {

int signalNumber(Signal signal)
{
    return signal == Signal::Terminate ? SIGTERM : SIGKILL;
}

// Runs in the child between fork and exec: async-signal-safe calls only.
void becomeBoundLeader(int deathSignal)
{
    ::setpgid(0, 0);
    ::prctl(PR_SET_PDEATHSIG, deathSignal);
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

void startAsBoundLeader(QProcess &process, Signal onParentDeath)
{
    process.setChildProcessModifier(
        [deathSignal = signalNumber(onParentDeath)] { becomeBoundLeader(deathSignal); });
}

void startAsGuardedLeader(QProcess &process)
{
    const pid_t parent = ::getpid();
    const int guardReadEnd = guardPipeReadEnd();
    process.setChildProcessModifier([parent, guardReadEnd] {
        ::signal(SIGPIPE, SIG_DFL);
        becomeBoundLeader(SIGKILL);
        if (::getppid() != parent)
            ::_exit(127);
        if (guardReadEnd >= 0)
            startGroupGuard(guardReadEnd);
    });
}

bool bindToParent()
{
    const pid_t parent = ::getppid();
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    return ::getppid() == parent;
}

void signalGroup(qint64 groupId, Signal signal)
{
    if (groupId > 1)
        ::kill(-static_cast<pid_t>(groupId), signalNumber(signal));
}

void signalProcess(qint64 pid, Signal signal)
{
    if (pid > 1)
        ::kill(static_cast<pid_t>(pid), signalNumber(signal));
}

} // namespace ProcessGroup
