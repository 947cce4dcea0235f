#pragma once

#include <QObject>

class DropIntake;
class QWidget;

// Makes widgets accept file drops from a file manager and hands every drop
// to the intake. The drop is reported as a copy: sources are never moved.
class DropTarget final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DropTarget)

public:
    explicit DropTarget(DropIntake &intake, QObject *parent = nullptr);

    // For a list view or any other scroll area, drops land on its viewport.
    void attach(QWidget *widget);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    DropIntake &m_intake;
};
