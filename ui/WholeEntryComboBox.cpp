#include "ui/WholeEntryComboBox.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QStyle>
#include <QTimer>

#include <algorithm>

namespace {

// What a list entry adds to its text on either side, in the styles here.
constexpr int EntryPadding = 16;

} // namespace

WholeEntryComboBox::WholeEntryComboBox(QWidget *parent) : QComboBox(parent)
{
    connect(this, &QComboBox::currentTextChanged, this, &WholeEntryComboBox::showTextStart);
}

int WholeEntryComboBox::listWidth() const
{
    int widest = 0;
    for (int entry = 0; entry < count(); ++entry)
        widest = std::max(widest, view()->fontMetrics().horizontalAdvance(itemText(entry)));
    // The entry's own margins, and room for a scroll bar should one show.
    return widest + 4 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + EntryPadding +
           style()->pixelMetric(QStyle::PM_ScrollBarExtent);
}

void WholeEntryComboBox::showPopup()
{
    view()->setMinimumWidth(listWidth());
    QComboBox::showPopup();
}

// Once the text is set: setting it puts the cursor at its end afterwards.
void WholeEntryComboBox::showTextStart()
{
    QTimer::singleShot(0, this, [this] {
        if (lineEdit() && !lineEdit()->hasFocus())
            lineEdit()->setCursorPosition(0);
    });
}
