#include "engine/EncoderProcesses.h"

#include "encoders/system/ProcessGroup.h"
#include "engine/ProcessList.h"

#include <QCoreApplication>
#include <QHash>

namespace EncoderProcesses {
namespace {

bool descendsFrom(qint64 pid, qint64 ancestor, const QHash<qint64, qint64> &parents)
{
    for (int depth = 0; pid > 1 && depth < 64; ++depth) {
        pid = parents.value(pid, 0);
        if (pid == ancestor)
            return true;
    }
    return false;
}

} // namespace

QList<qint64> findDescendantsNamed(const QString &executableName)
{
    const QList<ProcessInfo> entries = ProcessList::ownProcesses();
    QHash<qint64, qint64> parents;
    for (const ProcessInfo &entry : entries)
        parents.insert(entry.pid, entry.parent);
    const qint64 self = QCoreApplication::applicationPid();
    QList<qint64> found;
    for (const ProcessInfo &entry : entries) {
        if (entry.executable.compare(executableName, Qt::CaseInsensitive) == 0 &&
            descendsFrom(entry.pid, self, parents))
            found.append(entry.pid);
    }
    return found;
}

void KillEncoderProcess(const QString &executableName)
{
    for (const qint64 pid : findDescendantsNamed(executableName))
        ProcessGroup::signalProcess(pid, ProcessGroup::Signal::Terminate);
}

} // namespace EncoderProcesses
