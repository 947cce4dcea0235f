#pragma once

#include <QtGlobal>

// The few process calls that have no Qt equivalent: putting a child into a
// process group of its own that dies with its parent, and signalling a group.
namespace ProcessGroup {

// Runs in the child between fork and exec; async-signal-safe calls only.
void becomeGroupLeaderBoundToParent();

enum class Signal
{
    Terminate,
    Kill
};
void signalGroup(qint64 groupId, Signal signal);
void signalProcess(qint64 pid, Signal signal);

} // namespace ProcessGroup
