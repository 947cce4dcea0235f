#include "ProcessGroup.h"

#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

namespace ProcessGroup {

void becomeGroupLeaderBoundToParent()
{
    ::setpgid(0, 0);
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
}

namespace {

int signalNumber(Signal signal)
{
    return signal == Signal::Terminate ? SIGTERM : SIGKILL;
}

} // namespace

void signalGroup(qint64 groupId, Signal signal)
{
    if (groupId <= 1)
        return;
    ::kill(-static_cast<pid_t>(groupId), signalNumber(signal));
}

void signalProcess(qint64 pid, Signal signal)
{
    if (pid > 1)
        ::kill(static_cast<pid_t>(pid), signalNumber(signal));
}

} // namespace ProcessGroup
