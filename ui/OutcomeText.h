#pragma once

#include "RunOutcome.h"

#include <QString>

// How a job ended, in the lines both programs show a person: the window
// behind its details button, zenvora-cli after "失败 (failed): ". The
// encoder's own failure line comes first, as what a summary shows of a
// failure, then ours, then the encoder's last lines.
namespace OutcomeText {

// Empty for a job that was converted or stopped.
QString details(const RunOutcome &outcome);

} // namespace OutcomeText
