#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <stop_token>

using FileFound = std::function<void(const QString &)>;

// Lists one folder: reports each of its files to found at once, in listing
// order, and returns its subfolders in listing order. Entries of any kind
// other than folders count as files, hidden ones too; links to folders are
// neither files nor subfolders. A folder that cannot be listed gives
// nothing. Paths are the folder text, "/" and the entry name.
using FolderLister = QStringList (*)(const QString &folder, const FileFound &found,
                                     const std::stop_token &stop);

// Through QDirIterator; works everywhere.
QStringList listFolderPortable(const QString &folder, const FileFound &found,
                               const std::stop_token &stop);
#ifdef Q_OS_UNIX
// Straight from readdir: the entry types come with the names, so nothing
// is asked of the file system per file. About twice as fast as the
// portable lister on large trees.
QStringList listFolderPosix(const QString &folder, const FileFound &found,
                            const std::stop_token &stop);
#endif

FolderLister fastestFolderLister();

// The order the converter's first platform lists a folder in: names compared
// unit by unit in upper case, so letter case does not count and digits are
// plain characters ("10.avi" before "9.avi"). Names equal that way keep an
// order of their own, by their exact units.
bool listedBefore(QStringView name, QStringView other);
// Puts the paths of one folder's entries, each the folder text of
// folderLength characters followed by the name, in that order.
void sortByName(QStringList &paths, qsizetype folderLength);
