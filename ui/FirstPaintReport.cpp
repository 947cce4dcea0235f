#include "ui/FirstPaintReport.h"

#include "ui/FirstPaint.h"

#include <cstdio>

namespace FirstPaintReport {

void installIfAsked(QWidget &window)
{
    if (!qEnvironmentVariableIsSet("ZENVORA_REPORT_FIRST_PAINT"))
        return;
    FirstPaint::then(window, [] {
        std::fputs("zenvora: first frame painted\n", stderr);
        std::fflush(stderr);
    });
}

} // namespace FirstPaintReport
