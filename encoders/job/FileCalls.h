#pragma once

#include "encoders/job/SourceReference.h"

#include <QString>

#include <optional>

// The file calls of the encoders that have no Qt or standard equivalent.
namespace FileCalls {

enum class RenameResult
{
    Renamed,
    NameTaken,
    Failed
};

// Gives a file a new name in the same folder only while nothing goes by
// that name, not even a dangling symbolic link; in one step, so a file that
// appears under the name at the same moment is never replaced. error is set
// only when the result is Failed.
RenameResult renameWithoutReplacing(const QString &from, const QString &to, QString &error);

// A file's size, modification time and inode; nothing when it cannot be
// read.
std::optional<SourceReference::Stamp> stampOf(const QString &path);

} // namespace FileCalls
