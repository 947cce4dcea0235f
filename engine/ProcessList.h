#pragma once

#include <QList>
#include <QString>

#include <optional>

// The processes of this machine as the system lists them. The one place
// that reads the system's process table, for the program and its tests.
struct ProcessInfo
{
    qint64 pid = 0;
    qint64 parent = 0;
    QString name;        // the short command name
    QString executable;  // the program file's name, empty when not readable
    bool zombie = false; // ended, waiting for its parent to reap it
};

namespace ProcessList {

// Every process of the user this program runs as.
QList<ProcessInfo> ownProcesses();
std::optional<ProcessInfo> find(qint64 pid);

} // namespace ProcessList
