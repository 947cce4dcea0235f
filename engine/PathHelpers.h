#pragma once

#include "engine/PathStyle.h"

#include <QString>

// Pure text functions on paths; they never touch the file system.

// The folder part: everything up to and including the last separator or
// drive end; empty when there is none.
QString ParsePath(const QString &path, PathStyle style = PathStyle::native());

// The text after the last separator; the whole path when it has none.
QString FileNameFromPath(const QString &path, PathStyle style = PathStyle::native());

// The file name up to, not including, its first ".".
QString NameWithoutExtension(const QString &path, PathStyle style = PathStyle::native());
