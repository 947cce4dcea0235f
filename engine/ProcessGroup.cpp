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

void signalGroup(qint64 groupId, Signal signal)
{
    if (groupId <= 1)
        return;
    ::kill(-static_cast<pid_t>(groupId), signal == Signal::Terminate ? SIGTERM : SIGKILL);
}

} // namespace ProcessGroup
