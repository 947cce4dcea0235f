#pragma once

#include "engine/Progress.h"

#include <QObject>

class MainController;
class QLabel;
class QProgressBar;
class QWidget;

// The bar under the list, its caption and the status line below it,
// following the controller's batch.
class ProgressPanel final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ProgressPanel)

public:
    ProgressPanel(MainController &controller, QWidget *window);

private:
    void showProgress(const Progress &progress, int barValue);
    void reset();
    void showCaption(const QString &caption);
    void showStatus(const QString &text);

    QProgressBar *m_pb;
    QLabel *m_lblPB;
    QLabel *m_lblStatus;
};
