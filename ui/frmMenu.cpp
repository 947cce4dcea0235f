#include "ui/frmMenu.h"

#include "ui/MainActions.h"

#include <QMenu>

frmMenu::frmMenu(const MainActions &actions, QObject *parent)
    : QObject(parent), m_menuFile(createMenu(QStringLiteral("menuFile"), tr("文件"))),
      m_menuOptions(createMenu(QStringLiteral("menuOptions"), tr("选项"))),
      m_menuAbout(createMenu(QStringLiteral("menuAbout"), tr("关于"))),
      m_menuRemove(createMenu(QStringLiteral("menuRemove"), tr("Remove")))
{
    m_menuFile->addActions({actions.addFile, actions.addFolder});
    m_menuFile->addSeparator()->setObjectName(QStringLiteral("menuS"));
    m_menuFile->addAction(actions.exit);
    m_menuOptions->addAction(actions.options);
    m_menuAbout->addActions({actions.help, actions.about});
    m_menuRemove->addActions({actions.removeSelected, actions.removeAll});
    // Each menu owns its items, where they are looked for by name.
    for (QMenu *menu : menus()) {
        for (QAction *item : menu->actions())
            item->setParent(menu);
    }
}

frmMenu::~frmMenu()
{
    qDeleteAll(menus());
}

QMenu *frmMenu::createMenu(const QString &objectName, const QString &title)
{
    auto *menu = new QMenu(title);
    menu->setObjectName(objectName);
    return menu;
}
