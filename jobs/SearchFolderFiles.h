#pragma once

#include "jobs/FolderListing.h"

#include <QString>

#include <stop_token>

// Reports the path of every file beneath folder: first the files of a folder
// by name (listedBefore), then each of its subfolders, by name and depth
// first. A folder's files are reported once it has been listed whole.
// Hidden files and files of any other kind count; links to folders are not
// followed, so a link back to an ancestor cannot loop. A folder that cannot
// be listed contributes nothing. A path is the folder text, "/" and the
// entry name, joined as they are.
void SearchFolderFiles(const QString &folder, const FileFound &found,
                       const std::stop_token &stop = {},
                       FolderLister lister = fastestFolderLister());
