#pragma once

#include <QString>

// Lines for whoever reads the encoder, flushed at once: the reader is a
// pipe and shows progress as it comes.
namespace Console {

void printLine(const QString &line);
void printErrorLine(const QString &line);

} // namespace Console
