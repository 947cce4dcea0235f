#pragma once

#include <optional>

// The routing of the toolbar's buttons to toolbar commands.
namespace CommandRouter {

enum class ToolbarCommand
{
    AddFile = 0,
    RemoveMenu = 1,
    Options = 2,
    Help = 3,
    Exit = 4,
    AddFolder = 6
};

// The command index a toolbar button (0, 1, 2, 4 or 5) stands for.
std::optional<int> CmdToolsBarCommand(int buttonIndex);
// What a command index does; nothing for an index without a command.
std::optional<ToolbarCommand> toolbarCommand(int commandIndex);

} // namespace CommandRouter
