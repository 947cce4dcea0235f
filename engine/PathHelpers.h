#pragma once

#include "PathStyle.h"

#include <QString>

// Pure text functions on paths; they never touch the file system.

// The folder part: everything up to and including the last separator or
// drive end; empty when there is none.
QString ParsePath(const QString &path, PathStyle style = PathStyle::native());

// The text after the last separator; the whole path when it has none.
QString FileNameFromPath(const QString &path, PathStyle style = PathStyle::native());

// The file name up to, not including, its first ".".
QString NameWithoutExtension(const QString &path, PathStyle style = PathStyle::native());

// Whether a name in the target's folder is one the encoders write the
// target under until it is checked: "." + the target's base name + ".part-",
// six letters or digits, then the target's extension. Compared letter by
// letter: no character of a file name acts as a pattern.
bool IsPartFileOf(const QString &name, const QString &targetFileName);
