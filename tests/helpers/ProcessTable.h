#pragma once

#include <QList>
#include <QString>

// What the tests ask of the process table: which processes a given one has
// started, and whether a process is still alive (a zombie waiting for its
// reaper counts as gone).
namespace ProcessTable {

struct Entry
{
    qint64 pid = 0;
    QString name;
};

QList<Entry> childrenOf(qint64 parent);
bool isAlive(qint64 pid);

} // namespace ProcessTable
