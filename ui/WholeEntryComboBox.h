#pragma once

#include <QComboBox>

// A combo box whose list is as wide as its longest entry however narrow the
// box, and whose box shows the start of a text too long for it (where
// "自动" and a format's name are), not the end, where typing goes on.
class WholeEntryComboBox : public QComboBox
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WholeEntryComboBox)

public:
    explicit WholeEntryComboBox(QWidget *parent = nullptr);

    // The list's width for the entries and the font it has now.
    int listWidth() const;
    void showPopup() override;

protected:
    void showTextStart();
};
