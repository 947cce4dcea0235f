// A port reaching into the engine it stands beside: the layer check must
// refuse it.
#include "engine/JobRun.h"
