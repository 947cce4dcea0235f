#include "frmMenu.h"

#include <QMenu>

frmMenu::frmMenu(QObject *parent)
    : QObject(parent), m_menuFile(createMenu(QStringLiteral("menuFile"), tr("文件"))),
      m_menuOptions(createMenu(QStringLiteral("menuOptions"), tr("选项"))),
      m_menuAbout(createMenu(QStringLiteral("menuAbout"), tr("关于"))),
      m_menuRemove(createMenu(QStringLiteral("menuRemove"), tr("Remove")))
{
    QAction *addFile = addActionItem(m_menuFile, QStringLiteral("menuAddaFile"), tr("添加文件(&A)"),
                                     CommandRouter::Action::AddaFile);
    QAction *addFolder = addActionItem(m_menuFile, QStringLiteral("menuAddaFolder"),
                                       tr("添加目录(&F)"), CommandRouter::Action::AddaFolder);
    m_menuFile->addSeparator()->setObjectName(QStringLiteral("menuS"));
    QAction *exit = addActionItem(m_menuFile, QStringLiteral("menuExit"), tr("退出(&E)"),
                                  CommandRouter::Action::Exit);
    QAction *options = addActionItem(m_menuOptions, QStringLiteral("menuOption"), tr("设置(&O)"),
                                     CommandRouter::Action::Options);
    m_toolbarCommands = {addFile, addFolder, exit, options};
    addActionItem(m_menuAbout, QStringLiteral("menuHelp"), tr("帮助(&H)"),
                  CommandRouter::Action::Help);
    addActionItem(m_menuAbout, QStringLiteral("menuA"), tr("关于(&A)"),
                  CommandRouter::Action::About);
    addActionItem(m_menuRemove, QStringLiteral("menuRemoveSelected"), tr("移除选择项"),
                  CommandRouter::Action::RemoveSelected);
    QAction *removeAll = m_menuRemove->addAction(tr("移除全部"));
    removeAll->setObjectName(QStringLiteral("menuRemoveAll"));
    connect(removeAll, &QAction::triggered, this, &frmMenu::removeAllChosen);
}

frmMenu::~frmMenu()
{
    delete m_menuFile;
    delete m_menuOptions;
    delete m_menuAbout;
    delete m_menuRemove;
}

QMenu *frmMenu::createMenu(const QString &objectName, const QString &title)
{
    auto *menu = new QMenu(title);
    menu->setObjectName(objectName);
    return menu;
}

QAction *frmMenu::addActionItem(QMenu *menu, const QString &objectName, const QString &caption,
                                CommandRouter::Action action)
{
    QAction *item = menu->addAction(caption);
    item->setObjectName(objectName);
    connect(item, &QAction::triggered, this, [this, action] { Q_EMIT actionChosen(action); });
    return item;
}

void frmMenu::setToolbarCommandsEnabled(bool enabled)
{
    for (QAction *item : std::as_const(m_toolbarCommands))
        item->setEnabled(enabled);
}
