#pragma once

#include "ui/WholeEntryComboBox.h"

#include <optional>

// The box of an encoding parameter. While the chosen format takes nothing
// from the parameter, the box is disabled and shows what the output will
// have instead; the user's value is kept behind it and comes back when a
// format uses the parameter again, so that choosing formats loses nothing.
class ParameterComboBox final : public WholeEntryComboBox
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ParameterComboBox)

public:
    using WholeEntryComboBox::WholeEntryComboBox;

    // The user's value, shown or kept behind what is shown. An entry that
    // is a word is shown translated; the value is the word as settings and
    // command lines take it.
    QString value() const;
    void setValue(const QString &value);

    void showUsed(const QString &tip);
    void showUnused(const QString &shown, const QString &tip);

private:
    void display(const QString &text);

    std::optional<QString> m_kept;
};
