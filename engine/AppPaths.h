#pragma once

#include <QString>

// Where the program, its working files and its outputs live on this machine.
namespace AppPaths {

// The folder of the running executable, without a trailing separator.
QString ProgramFolder();
// The user's videos folder followed by "/Zenvora".
QString DefaultOutputFolder();
// A private per-user working folder under the user's cache folder.
QString TempFolder();
// Creates a folder with all missing parents, readable by its owner only.
bool createPrivateFolder(const QString &path);

} // namespace AppPaths
