#include "jobs/DropTarget.h"

#include "jobs/DropIntake.h"

#include <QAbstractScrollArea>
#include <QDropEvent>
#include <QMimeData>

DropTarget::DropTarget(DropIntake &intake, QObject *parent) : QObject(parent), m_intake(intake) {}

void DropTarget::attach(QWidget *widget)
{
    if (auto *area = qobject_cast<QAbstractScrollArea *>(widget))
        widget = area->viewport();
    widget->setAcceptDrops(true);
    widget->installEventFilter(this);
}

bool DropTarget::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDragMoveEvent *>(event);
        drag->setAccepted(DropIntake::offersFiles(*drag->mimeData()));
        drag->setDropAction(Qt::CopyAction);
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        m_intake.addDroppedFiles(*drop->mimeData());
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}
