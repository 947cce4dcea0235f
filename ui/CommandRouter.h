#pragma once

#include <optional>

// The routing of the window's commands: toolbar buttons to toolbar
// commands, and the actions the pop-up menu items ask for.
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

enum class Action
{
    RemoveSelected,
    About,
    AddaFile,
    AddaFolder,
    Exit,
    Help,
    Options
};

// The command index a toolbar button (0, 1, 2, 4 or 5) stands for.
std::optional<int> CmdToolsBarCommand(int buttonIndex);
// What a command index does; nothing for an index without a command.
std::optional<ToolbarCommand> toolbarCommand(int commandIndex);

} // namespace CommandRouter
