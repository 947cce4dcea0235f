#include "FolderListing.h"

#include <QDirIterator>
#include <QFileInfo>

QStringList ListFolderPortable(const QString &folder, const FileFound &found,
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

FolderLister FastestFolderLister()
{
#ifdef Q_OS_UNIX
    return &ListFolderPosix;
#else
    return &ListFolderPortable;
#endif
}
