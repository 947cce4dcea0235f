#pragma once

#include "CommandRouter.h"

#include <QList>
#include <QObject>

class QAction;
class QMenu;

// The four pop-up menus, titled in Chinese like the rest of the window.
// Their items do not act themselves: each names its action, which the main
// window performs.
class frmMenu final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmMenu)

public:
    explicit frmMenu(QObject *parent = nullptr);
    ~frmMenu() override;

    QMenu *menuFile() const { return m_menuFile; }
    QMenu *menuOptions() const { return m_menuOptions; }
    QMenu *menuAbout() const { return m_menuAbout; }
    QMenu *menuRemove() const { return m_menuRemove; }

    // The items whose toolbar buttons a batch disables: adding, options and
    // exit follow the toolbar.
    void setToolbarCommandsEnabled(bool enabled);

Q_SIGNALS:
    void actionChosen(CommandRouter::Action action);
    void removeAllChosen();

private:
    QMenu *createMenu(const QString &objectName, const QString &title);
    QAction *addActionItem(QMenu *menu, const QString &objectName, const QString &caption,
                           CommandRouter::Action action);

    QMenu *m_menuFile;
    QMenu *m_menuOptions;
    QMenu *m_menuAbout;
    QMenu *m_menuRemove;
    QList<QAction *> m_toolbarCommands;
};
