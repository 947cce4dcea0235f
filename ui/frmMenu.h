#pragma once

#include <QList>
#include <QObject>

class MainActions;
class QMenu;

// The four pop-up menus, titled in Chinese like the rest of the window,
// over the window's shared actions.
class frmMenu final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmMenu)

public:
    explicit frmMenu(const MainActions &actions, QObject *parent = nullptr);
    ~frmMenu() override;

    QMenu *menuFile() const { return m_menuFile; }
    QMenu *menuOptions() const { return m_menuOptions; }
    QMenu *menuAbout() const { return m_menuAbout; }
    QMenu *menuRemove() const { return m_menuRemove; }

private:
    static QMenu *createMenu(const QString &objectName, const QString &title);
    QList<QMenu *> menus() const { return {m_menuFile, m_menuOptions, m_menuAbout, m_menuRemove}; }

    QMenu *m_menuFile;
    QMenu *m_menuOptions;
    QMenu *m_menuAbout;
    QMenu *m_menuRemove;
};
