#pragma once

#include "jobs/DropTarget.h"

#include <QTreeView>

class JobListModel;
class MainController;
class frmMenu;

// The queue as the window lists it: a row per file, with the drop target,
// the hint over an empty list and the row's own menu before the program's.
class JobListView final : public QTreeView
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(JobListView)

public:
    JobListView(MainController &controller, JobListModel &model, const frmMenu &menus,
                QWidget *window);

    QList<int> selectedRows() const;

private:
    void createListMenu(const frmMenu &menus);
    void createDropHint(QWidget *window);
    void showListMenu(const QPoint &position);

    MainController &m_controller;
    DropTarget m_dropTarget;
    QMenu *m_listMenu = nullptr;
    QAction *m_removeRow = nullptr;
    QAction *m_openRowFolder = nullptr;
};
