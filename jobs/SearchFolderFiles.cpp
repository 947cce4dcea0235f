#include "SearchFolderFiles.h"

#include <QStringList>

void SearchFolderFiles(const QString &folder, const FileFound &found, const std::stop_token &stop,
                       FolderLister lister)
{
    // A stack of folders still to list instead of recursion: nesting depth
    // has no limit of its own. A folder's subfolders are listed only after
    // its own listing has been closed, so one listing is open at a time.
    // They go on in reverse so the first listed is searched first.
    QStringList pending{folder};
    while (!pending.isEmpty() && !stop.stop_requested()) {
        const QStringList subfolders = lister(pending.takeLast(), found, stop);
        for (auto it = subfolders.crbegin(); it != subfolders.crend(); ++it)
            pending.append(*it);
    }
}
