#include "ProcessTable.h"

#include <QDir>
#include <QFile>

#include <optional>

using namespace Qt::StringLiterals;

namespace ProcessTable {

namespace {

struct Status
{
    QString name;
    QChar state;
    qint64 parent = 0;
};

// "/proc/PID/stat" is "pid (name) state ppid ..."; the name may itself
// hold blanks and parentheses, so the fields are read after its last ")".
std::optional<Status> statusOf(qint64 pid)
{
    QFile file(u"/proc/%1/stat"_s.arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QString line = QString::fromUtf8(file.readAll());
    const qsizetype open = line.indexOf(u'(');
    const qsizetype close = line.lastIndexOf(u')');
    if (open < 0 || close < open)
        return std::nullopt;
    const QStringList fields = line.mid(close + 2).split(u' ');
    if (fields.size() < 2)
        return std::nullopt;
    return Status{line.mid(open + 1, close - open - 1), fields.at(0).at(0),
                  fields.at(1).toLongLong()};
}

} // namespace

QList<Entry> childrenOf(qint64 parent)
{
    QList<Entry> children;
    const QStringList entries = QDir(u"/proc"_s).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        bool isNumber = false;
        const qint64 pid = entry.toLongLong(&isNumber);
        if (!isNumber)
            continue;
        const std::optional<Status> status = statusOf(pid);
        if (status && status->parent == parent && status->state != u'Z')
            children.append({pid, status->name});
    }
    return children;
}

bool isAlive(qint64 pid)
{
    const std::optional<Status> status = statusOf(pid);
    return status && status->state != u'Z';
}

} // namespace ProcessTable
