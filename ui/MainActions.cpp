#include "ui/MainActions.h"

#include <QAction>
#include <QHash>
#include <QWidget>

namespace {

QAction *action(QWidget *window, const char *objectName, const QString &text,
                QList<QKeySequence> keys = {})
{
    auto *action = new QAction(text, window);
    action->setObjectName(QString::fromLatin1(objectName));
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    window->addAction(action);
    return action;
}

// What the toolbar button of an action shows.
void button(QAction *action, const QString &caption, const QString &toolTip, const char *icon)
{
    action->setIconText(caption);
    action->setToolTip(toolTip);
    action->setIcon(QIcon(QString::fromLatin1(icon)));
}

} // namespace

MainActions::MainActions(QWidget *window)
    : QObject(),
      addFile(action(window, "menuAddaFile", tr("添加文件(&A)"), {Qt::CTRL | Qt::Key_O})),
      addFolder(
          action(window, "menuAddaFolder", tr("添加目录(&F)"), {Qt::CTRL | Qt::SHIFT | Qt::Key_O})),
      removeMenu(action(window, "removeFiles", tr("移除文件"))),
      options(action(window, "menuOption", tr("设置(&O)"))),
      help(action(window, "menuHelp", tr("帮助(&H)"), {Qt::Key_F1})),
      exit(action(window, "menuExit", tr("退出(&E)"), {Qt::CTRL | Qt::Key_Q})),
      about(action(window, "menuA", tr("关于(&A)"))),
      removeSelected(action(window, "menuRemoveSelected", tr("移除选择项"))),
      removeAll(action(window, "menuRemoveAll", tr("移除全部"))),
      start(action(window, "start", tr("立刻开始转换！"),
                   {Qt::CTRL | Qt::Key_Return, Qt::CTRL | Qt::Key_Enter}))
{
    // The tooltips say what each button does.
    button(addFile, tr("添加文件"), tr("Add a File"), ":/icons/add-file.svg");
    button(addFolder, tr("添加文件夹"), tr("Add Files from a Folder"), ":/icons/add-folder.svg");
    button(removeMenu, tr("移除文件"), tr("Remove File(s) from List"), ":/icons/remove.svg");
    button(options, tr("提示设置"), tr("Options"), ":/icons/options.svg");
    button(exit, tr("退出程序"), tr("Exit"), ":/icons/exit.svg");
}

std::optional<int> MainActions::commandOfButton(int buttonIndex)
{
    static const QHash<int, int> Routes{{0, 0}, {1, 6}, {2, 1}, {4, 2}, {5, 4}};
    const auto route = Routes.constFind(buttonIndex);
    return route == Routes.cend() ? std::nullopt : std::optional(*route);
}

QAction *MainActions::forCommand(int commandIndex) const
{
    const QHash<int, QAction *> commands{{0, addFile}, {1, removeMenu}, {2, options},
                                         {3, help},    {4, exit},       {6, addFolder}};
    return commands.value(commandIndex);
}

void MainActions::setBatchCommandsEnabled(bool enabled)
{
    for (QAction *command : {addFile, addFolder, removeMenu, options, exit})
        command->setEnabled(enabled);
}
