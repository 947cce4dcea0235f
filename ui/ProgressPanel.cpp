#include "ui/ProgressPanel.h"

#include "app/MainController.h"
#include "app/ProgressText.h"

#include <QLabel>
#include <QProgressBar>

ProgressPanel::ProgressPanel(MainController &controller, QWidget *window)
    : QObject(window), m_pb(new QProgressBar(window)), m_lblPB(new QLabel(window)),
      m_lblStatus(new QLabel(window))
{
    m_pb->setObjectName(QStringLiteral("pb"));
    m_pb->setTextVisible(false);
    m_pb->setGeometry(4, 398, 457, 21);
    // The caption grows to the right as the percentage text gets longer.
    m_lblPB->setObjectName(QStringLiteral("lblPB"));
    m_lblPB->move(218, 378);
    m_lblStatus->setObjectName(QStringLiteral("lblStatus"));
    m_lblStatus->setTextFormat(Qt::PlainText);
    m_lblStatus->setGeometry(4, 422, 457, 18);
    reset();

    connect(&controller, &MainController::progressShown, this, &ProgressPanel::showProgress);
    connect(&controller, &MainController::progressCaptionShown, this, &ProgressPanel::showCaption);
    connect(&controller, &MainController::progressReset, this, &ProgressPanel::reset);
    connect(&controller, &MainController::batchRunningChanged, this, [this](bool running) {
        if (running)
            reset();
    });
    connect(&controller.status(), &BatchStatus::statusTextChanged, this,
            &ProgressPanel::showStatus);
}

void ProgressPanel::showProgress(const Progress &progress, int barValue)
{
    m_pb->setRange(0, progress.percent ? 100 : 0);
    m_pb->setValue(barValue);
    showCaption(ProgressText::caption(progress));
}

void ProgressPanel::reset()
{
    m_pb->setRange(0, 100);
    m_pb->setValue(0);
    showCaption(QStringLiteral("0%"));
}

void ProgressPanel::showCaption(const QString &caption)
{
    m_lblPB->setText(caption);
    m_lblPB->adjustSize();
}

// A long file name is cut in its middle; the tip shows it whole.
void ProgressPanel::showStatus(const QString &text)
{
    m_lblStatus->setText(
        m_lblStatus->fontMetrics().elidedText(text, Qt::ElideMiddle, m_lblStatus->width()));
    m_lblStatus->setToolTip(text);
}
