#include "ui/JobListView.h"

#include "app/JobListModel.h"
#include "app/MainController.h"
#include "ui/frmMenu.h"

#include <QHeaderView>
#include <QLabel>
#include <QMenu>

JobListView::JobListView(MainController &controller, JobListModel &model, const frmMenu &menus,
                         QWidget *window)
    : QTreeView(window), m_controller(controller), m_dropTarget(controller.dropIntake())
{
    setObjectName(QStringLiteral("LV"));
    setModel(&model);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Long paths keep both ends: the folder's start and the file's name.
    setTextElideMode(Qt::ElideMiddle);
    setGeometry(4, 90, 455, 274);
    // The file name takes about four fifths of the width, the format the rest.
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(JobListModel::FileNameColumn, QHeaderView::Stretch);
    header()->resizeSection(JobListModel::FormatColumn, width() * 21 / 100);
    createListMenu(menus);
    m_dropTarget.attach(this);
    createDropHint(window);
}

void JobListView::createListMenu(const frmMenu &menus)
{
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QTreeView::customContextMenuRequested, this, &JobListView::showListMenu);
    m_listMenu = new QMenu(this);
    m_listMenu->setObjectName(QStringLiteral("menuList"));
    // What the row under the pointer offers comes first, then the program's menus.
    m_removeRow = m_listMenu->addAction(tr("移除"));
    m_removeRow->setObjectName(QStringLiteral("menuListRemove"));
    const auto removeSelected = [this] { m_controller.removeRows(selectedRows()); };
    connect(m_removeRow, &QAction::triggered, this, removeSelected);
    // The key works whatever the menu last offered.
    auto *removeKey = new QAction(this);
    removeKey->setShortcut(QKeySequence::Delete);
    removeKey->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(removeKey);
    connect(removeKey, &QAction::triggered, this, removeSelected);
    m_openRowFolder = m_listMenu->addAction(tr("打开所在文件夹"));
    m_openRowFolder->setObjectName(QStringLiteral("menuListOpenFolder"));
    connect(m_openRowFolder, &QAction::triggered, this,
            [this] { m_controller.openJobFolder(currentIndex().row()); });
    m_listMenu->addSeparator();
    for (QMenu *menu : {menus.menuFile(), menus.menuOptions(), menus.menuAbout()})
        m_listMenu->addMenu(menu);
}

void JobListView::createDropHint(QWidget *window)
{
    auto *hint = new QLabel(m_controller.folderIntake().hintText(), window);
    hint->setObjectName(QStringLiteral("lblText"));
    hint->setAlignment(Qt::AlignCenter);
    hint->setGeometry(152, 208, 163, 21);
    hint->setAttribute(Qt::WA_TransparentForMouseEvents);
    hint->setVisible(m_controller.dropHint().isVisible());
    connect(&m_controller.dropHint(), &DropHint::visibleChanged, hint, &QLabel::setVisible);
    connect(&m_controller.folderIntake(), &FolderIntake::hintTextChanged, hint, &QLabel::setText);
}

void JobListView::showListMenu(const QPoint &position)
{
    const QModelIndex row = indexAt(position);
    if (row.isValid())
        setCurrentIndex(row);
    // A running job is not removed; the list passes over it.
    m_removeRow->setEnabled(row.isValid());
    m_openRowFolder->setEnabled(row.isValid());
    m_listMenu->popup(viewport()->mapToGlobal(position));
}

QList<int> JobListView::selectedRows() const
{
    QList<int> rows;
    for (const QModelIndex &index : selectionModel()->selectedRows())
        rows.append(index.row());
    return rows;
}
