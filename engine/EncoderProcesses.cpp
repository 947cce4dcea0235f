#include "EncoderProcesses.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <csignal>
#include <unistd.h>

namespace EncoderProcesses {
namespace {

struct ProcessEntry
{
    qint64 pid = 0;
    qint64 parent = 0;
    QString executableName;
};

qint64 parentOf(const QString &pidText)
{
    QFile stat(QStringLiteral("/proc/") + pidText + QStringLiteral("/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    // The command name may hold blanks and parentheses; fields resume after the last ')'.
    const QByteArray line = stat.read(4096);
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    return fields.size() > 1 ? fields.at(1).toLongLong() : 0;
}

QString executableNameOf(const QString &pidText)
{
    const QString target =
        QFileInfo(QStringLiteral("/proc/") + pidText + QStringLiteral("/exe")).symLinkTarget();
    return QFileInfo(target).fileName();
}

QList<ProcessEntry> ownProcesses()
{
    QList<ProcessEntry> entries;
    const QDir proc(QStringLiteral("/proc"));
    const uint me = ::getuid();
    for (const QFileInfo &info : proc.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool isPid = false;
        const qint64 pid = info.fileName().toLongLong(&isPid);
        if (!isPid || info.ownerId() != me)
            continue;
        entries.append({pid, parentOf(info.fileName()), executableNameOf(info.fileName())});
    }
    return entries;
}

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
    const QList<ProcessEntry> entries = ownProcesses();
    QHash<qint64, qint64> parents;
    for (const ProcessEntry &entry : entries)
        parents.insert(entry.pid, entry.parent);
    const qint64 self = ::getpid();
    QList<qint64> found;
    for (const ProcessEntry &entry : entries) {
        if (entry.executableName.compare(executableName, Qt::CaseInsensitive) == 0 &&
            descendsFrom(entry.pid, self, parents))
            found.append(entry.pid);
    }
    return found;
}

void KillEncoderProcess(const QString &executableName)
{
    for (const qint64 pid : findDescendantsNamed(executableName))
        ::kill(static_cast<pid_t>(pid), SIGTERM);
}

} // namespace EncoderProcesses
