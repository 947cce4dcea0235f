#pragma once

class QWidget;

// For measuring start-up: writes one line to standard error once the
// watched window has painted its first frame. Only when
// ZENVORA_REPORT_FIRST_PAINT is set.
namespace FirstPaintReport {

void installIfAsked(QWidget &window);

} // namespace FirstPaintReport
