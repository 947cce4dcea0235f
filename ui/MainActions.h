#pragma once

#include <QObject>

#include <optional>

class QAction;
class QWidget;

// The window's commands, each one QAction shared by its toolbar button, its
// pop-up menu item and its keys, so that all three are enabled together.
class MainActions final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MainActions)

public:
    // The keys work anywhere in the window.
    explicit MainActions(QWidget *window);

    QAction *const addFile;
    QAction *const addFolder;
    QAction *const removeMenu; // the toolbar's 移除文件: the remove menu at the pointer
    QAction *const options;
    QAction *const help;
    QAction *const exit;
    QAction *const about;
    QAction *const removeSelected;
    QAction *const removeAll;
    QAction *const start;

    // The toolbar routes in two steps: a button index (0, 1, 2, 4 or 5) to a
    // command index, and a command index (0 to 4, and 6) to its action.
    static std::optional<int> commandOfButton(int buttonIndex);
    QAction *forCommand(int commandIndex) const;
    // The commands a batch disables: the toolbar's and its menu items.
    void setBatchCommandsEnabled(bool enabled);
};
