#include "tests/helpers/ProcessTable.h"

#include "engine/ProcessList.h"

namespace ProcessTable {

QList<Entry> childrenOf(qint64 parent)
{
    QList<Entry> children;
    for (const ProcessInfo &process : ProcessList::ownProcesses()) {
        if (process.parent == parent && !process.zombie)
            children.append({process.pid, process.name});
    }
    return children;
}

bool isAlive(qint64 pid)
{
    const std::optional<ProcessInfo> process = ProcessList::find(pid);
    return process && !process->zombie;
}

} // namespace ProcessTable
