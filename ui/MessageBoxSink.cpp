#include "ui/MessageBoxSink.h"

#include <QAbstractButton>
#include <QMessageBox>

namespace {

// In the order of MessageSink::Icon.
constexpr QMessageBox::Icon BoxIcons[] = {QMessageBox::Critical, QMessageBox::Warning,
                                          QMessageBox::Information};

} // namespace

void MessageBoxSink::showMessage(const QString &text, const QString &caption, Icon icon)
{
    showDetailedMessage(text, caption, icon, {});
}

void MessageBoxSink::showDetailedMessage(const QString &text, const QString &caption, Icon icon,
                                         const QString &details)
{
    QMessageBox box(BoxIcons[static_cast<int>(icon)],
                    caption.isEmpty() ? QStringLiteral("Zenvora") : caption, text, QMessageBox::Ok,
                    m_owner);
    box.setDetailedText(details);
    box.exec();
}

bool MessageBoxSink::confirm(const QString &text, const QString &caption, OnEnter onEnter)
{
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No,
                    m_owner);
    box.setDefaultButton(onEnter == OnEnter::Yes ? QMessageBox::Yes : QMessageBox::No);
    m_question = &box;
    const bool yes = box.exec() == QMessageBox::Yes;
    m_question = nullptr;
    return yes;
}

void MessageBoxSink::dismissQuestion()
{
    if (m_question)
        m_question->button(QMessageBox::No)->click();
}
