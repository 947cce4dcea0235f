#include "jobs/SearchFolderFiles.h"

#include <QStringList>

void SearchFolderFiles(const QString &folder, const FileFound &found, const std::stop_token &stop,
                       FolderLister lister)
{
    // A stack of folders still to list instead of recursion: nesting depth
    // has no limit of its own. A folder's subfolders are listed only after
    // its own listing has been closed, so one listing is open at a time.
    // They go on in reverse so the first by name is searched first.
    QStringList pending{folder};
    QStringList files;
    while (!pending.isEmpty() && !stop.stop_requested()) {
        const QString current = pending.takeLast();
        files.clear();
        QStringList subfolders = lister(
            current, [&files](const QString &path) { files.append(path); }, stop);
        // The file system's own order means nothing here, the names do.
        const qsizetype folderLength = current.size() + 1;
        sortByName(files, folderLength);
        for (const QString &file : std::as_const(files)) {
            if (stop.stop_requested())
                return;
            found(file);
        }
        sortByName(subfolders, folderLength);
        for (auto it = subfolders.crbegin(); it != subfolders.crend(); ++it)
            pending.append(*it);
    }
}
