#include "cli/StandardOutput.h"

#include <cerrno>
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

void writeAll(int descriptor, const char *data, std::size_t size)
{
    for (std::size_t done = 0; done < size;) {
        const ssize_t written = ::write(descriptor, data + done, size - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return;
        done += static_cast<std::size_t>(written);
    }
}

} // namespace StandardOutput
