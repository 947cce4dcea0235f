#include "engine/ProcessList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace ProcessList {

// "/proc/PID/stat" is "pid (name) state ppid ..."; the name may itself
// hold blanks and parentheses, so the fields are read after its last ")".
std::optional<ProcessInfo> find(qint64 pid)
{
    QFile file(u"/proc/%1/stat"_s.arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QString line = QString::fromUtf8(file.read(4096));
    const qsizetype open = line.indexOf(u'(');
    const qsizetype close = line.lastIndexOf(u')');
    if (open < 0 || close < open)
        return std::nullopt;
    const QStringList fields = line.mid(close + 2).split(u' ');
    if (fields.size() < 2 || fields.at(0).isEmpty())
        return std::nullopt;
    const QString executable =
        QFileInfo(QFileInfo(u"/proc/%1/exe"_s.arg(pid)).symLinkTarget()).fileName();
    return ProcessInfo{pid, fields.at(1).toLongLong(), line.mid(open + 1, close - open - 1),
                       executable, fields.at(0).at(0) == u'Z'};
}

QList<ProcessInfo> ownProcesses()
{
    QList<ProcessInfo> processes;
    const uint me = ::getuid();
    for (const QFileInfo &entry :
         QDir(u"/proc"_s).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool isPid = false;
        const qint64 pid = entry.fileName().toLongLong(&isPid);
        if (!isPid || entry.ownerId() != me)
            continue;
        if (const std::optional<ProcessInfo> process = find(pid))
            processes.append(*process);
    }
    return processes;
}

} // namespace ProcessList
