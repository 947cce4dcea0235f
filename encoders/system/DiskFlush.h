#pragma once

#include <QString>

// What the system holds in memory of a file, or of a folder's names, written
// to the disk now: a rename onto a new name is not flushed by itself, so
// after a power cut a file renamed into place could be there empty, or not
// be there at all. False when the system refuses (the file is gone).
namespace DiskFlush {

bool file(const QString &path);
bool folderOf(const QString &path);

} // namespace DiskFlush
