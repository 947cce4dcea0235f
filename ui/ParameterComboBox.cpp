#include "ui/ParameterComboBox.h"

#include "app/ComboTexts.h"

#include <QSignalBlocker>

#include <utility>

QString ParameterComboBox::value() const
{
    return ComboTexts::valueOf(m_kept.value_or(currentText()));
}

void ParameterComboBox::setValue(const QString &value)
{
    const QString text = ComboTexts::shownText(value);
    if (m_kept) {
        m_kept = text;
        return;
    }
    // An entry is selected, as when it is picked, so that its row and the
    // text shown agree.
    const int entry = findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (entry >= 0)
        setCurrentIndex(entry);
    else
        setCurrentText(text);
}

void ParameterComboBox::showUsed(const QString &tip)
{
    setToolTip(tip);
    if (m_kept)
        display(*std::exchange(m_kept, std::nullopt));
    setEnabled(true);
}

void ParameterComboBox::showUnused(const QString &shown, const QString &tip)
{
    setToolTip(tip);
    if (!m_kept)
        m_kept = currentText();
    display(shown);
    setEnabled(false);
}

// What is shown changes no value, so nothing that follows the value hears of it.
void ParameterComboBox::display(const QString &text)
{
    const QSignalBlocker quiet(this);
    setCurrentText(text);
    showTextStart();
}
