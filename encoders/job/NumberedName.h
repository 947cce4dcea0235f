#pragma once

#include <QString>

// The names an output may take when its own is taken: "clip.mp4", then
// "clip-2.mp4", "clip-3.mp4", … the number before the extension. A name
// that already ends in a number just gets another ("clip-2-2.mp4"): the
// number in a name the program chose is not ours to count on. A hidden
// file's leading dot does not start an extension (".clip" -> ".clip-2").
namespace NumberedName {

// Number 1 is the path itself.
QString of(const QString &path, int number);

} // namespace NumberedName
