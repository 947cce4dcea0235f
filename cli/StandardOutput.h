#pragma once

// The program's standard output as the system knows it; the calls differ by
// platform and live in a file of their own for each.
namespace StandardOutput {

int descriptor();
// A terminal shows one job's progress on a single line; a file or pipe gets
// one line per change.
bool isTerminal();

} // namespace StandardOutput
