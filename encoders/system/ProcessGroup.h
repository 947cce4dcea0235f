#pragma once

#include <QtGlobal>

class QProcess;

// How a child is started and ended, by the program that runs the encoders
// and by the encoders that run ffmpeg alike: as the leader of a process
// group of its own, bound to its parent's life, so that ending the group
// ends whatever the child started too.
namespace ProcessGroup {

enum class Signal
{
    Terminate,
    Kill
};

// The process's child leads a group of its own and gets onParentDeath
// when this process ends.
void startAsBoundLeader(QProcess &process, Signal onParentDeath);
// The same with the group bound too, even when this process is killed: a
// tool may start processes of its own (a wrapper script running the real
// ffmpeg) that would outlive the tool itself. The child starts with its
// signal dispositions back at their defaults and the group gets Kill.
void startAsGuardedLeader(QProcess &process);
// Asks for Terminate when this process's parent dies. False when the parent
// is already gone, which the request could not notice by itself.
bool bindToParent();

void signalGroup(qint64 groupId, Signal signal);
void signalProcess(qint64 pid, Signal signal);

} // namespace ProcessGroup
