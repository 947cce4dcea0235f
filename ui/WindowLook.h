#pragma once

class QApplication;

// The font and the optional skin every window of the program is drawn
// with; the window's tests measure its texts in the same.
namespace WindowLook {

void apply(QApplication &app);

} // namespace WindowLook
