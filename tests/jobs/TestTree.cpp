#include "tests/jobs/TestTree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

bool TestTree::add(const QStringList &entries) const
{
    for (const QString &entry : entries) {
        const QString full = path(entry);
        if (entry.endsWith(u'/')) {
            if (!QDir().mkpath(full))
                return false;
            continue;
        }
        QFile file(full);
        if (!QDir().mkpath(QFileInfo(full).path()) || !file.open(QIODevice::WriteOnly))
            return false;
    }
    return true;
}

QStringList TestTree::relative(const QStringList &paths) const
{
    QStringList relativePaths;
    for (const QString &full : paths)
        relativePaths.append(full.sliced(path().size() + 1));
    return relativePaths;
}
