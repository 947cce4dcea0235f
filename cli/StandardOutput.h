#pragma once

#include <cstddef>

// The program's standard output as the system knows it; the calls differ by
// platform and live in a file of their own for each.
namespace StandardOutput {

int descriptor();
// A terminal shows one job's progress on a single line; a file or pipe gets
// one line per change.
bool isTerminal();
// Writes all of data, or as much as the reader takes before it goes away:
// the rest then has nowhere to go.
void writeAll(int descriptor, const char *data, std::size_t size);

} // namespace StandardOutput
