#include "StandardOutput.h"

#include <unistd.h>

namespace StandardOutput {

int descriptor()
{
    return STDOUT_FILENO;
}

bool isTerminal()
{
    return ::isatty(STDOUT_FILENO) != 0;
}

} // namespace StandardOutput
