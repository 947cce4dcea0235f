#include "MessageBoxSink.h"

#include <QMessageBox>

namespace {

QMessageBox::Icon boxIcon(MessageSink::Icon icon)
{
    switch (icon) {
    case MessageSink::Icon::Critical:
        return QMessageBox::Critical;
    case MessageSink::Icon::Exclamation:
        return QMessageBox::Warning;
    case MessageSink::Icon::Information:
        return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void MessageBoxSink::showMessage(const QString &text, const QString &caption, Icon icon)
{
    QMessageBox box(boxIcon(icon), caption.isEmpty() ? QStringLiteral("Zenvora") : caption, text,
                    QMessageBox::Ok, m_owner);
    box.exec();
}

bool MessageBoxSink::confirm(const QString &text, const QString &caption)
{
    // The only question asks whether to throw work away: Enter keeps it.
    return QMessageBox::question(m_owner, caption, text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}
