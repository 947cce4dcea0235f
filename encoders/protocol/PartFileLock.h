#pragma once

#include <QString>

class QFile;

// A part file is locked by the encoder that writes it for as long as that
// encoder lives; the system drops the lock when the process ends, however
// it ends. So a part file whose lock can be taken has no writer left, and a
// clean-up may remove it without touching a conversion still going on,
// another run's above all.
namespace PartFileLock {

// Takes the lock on the open file and checks that the path still names it
// (a clean-up may have removed the file between its creation and the lock).
// False when either fails; a file system without locks counts as locked.
bool hold(QFile &file);
// Whether the file's writer is gone: its lock could be taken. A file that
// cannot be opened or locked for any other reason is not abandoned.
bool isAbandoned(const QString &path);

} // namespace PartFileLock
