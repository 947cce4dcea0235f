#include "jobs/FolderListing.h"

#include <QDirIterator>
#include <QFileInfo>

#include <algorithm>

QStringList listFolderPortable(const QString &folder, const FileFound &found,
                               const std::stop_token &stop)
{
    QStringList subfolders;
    QDirIterator entries(folder,
                         QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (entries.hasNext() && !stop.stop_requested()) {
        entries.next();
        const QString path = folder + u'/' + entries.fileName();
        const QFileInfo info = entries.fileInfo();
        if (!info.isDir())
            found(path);
        else if (!info.isSymLink())
            subfolders.append(path);
    }
    return subfolders;
}

FolderLister fastestFolderLister()
{
#ifdef Q_OS_UNIX
    return &listFolderPosix;
#else
    return &listFolderPortable;
#endif
}

bool listedBefore(QStringView name, QStringView other)
{
    const qsizetype common = std::min(name.size(), other.size());
    for (qsizetype i = 0; i < common; ++i) {
        const char32_t unit = QChar::toUpper(name[i].unicode());
        const char32_t otherUnit = QChar::toUpper(other[i].unicode());
        if (unit != otherUnit)
            return unit < otherUnit;
    }
    if (name.size() != other.size())
        return name.size() < other.size();
    return name < other;
}

void sortByName(QStringList &paths, qsizetype folderLength)
{
    std::sort(paths.begin(), paths.end(), [folderLength](const QString &a, const QString &b) {
        return listedBefore(QStringView(a).sliced(folderLength),
                            QStringView(b).sliced(folderLength));
    });
}
