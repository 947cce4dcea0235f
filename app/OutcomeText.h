#pragma once

#include "engine/RunOutcome.h"

#include <QString>

// How a job ended, in the lines both programs show a person: the window
// behind its details button, zenvora-cli after its failure mark. For a
// failure the encoder's own failure line comes first, as what a summary
// shows of it, then the short words naming the cause, then the encoder's
// last lines; for a hung encoder the hang comes first, since all it said
// after that was that it had been stopped.
namespace OutcomeText {

// Empty for a job that was converted or stopped.
QString details(const RunOutcome &outcome);

} // namespace OutcomeText
