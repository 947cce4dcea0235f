#include "CommandRouter.h"

#include <array>
#include <utility>

namespace CommandRouter {

std::optional<int> CmdToolsBarCommand(int buttonIndex)
{
    static constexpr std::array<std::pair<int, int>, 5> Table{
        {{0, 0}, {1, 6}, {2, 1}, {4, 2}, {5, 4}}};
    for (const auto &[button, command] : Table) {
        if (button == buttonIndex)
            return command;
    }
    return std::nullopt;
}

std::optional<ToolbarCommand> toolbarCommand(int commandIndex)
{
    switch (commandIndex) {
    case 0:
    case 1:
    case 2:
    case 3:
    case 4:
    case 6:
        return static_cast<ToolbarCommand>(commandIndex);
    default:
        return std::nullopt;
    }
}

} // namespace CommandRouter
