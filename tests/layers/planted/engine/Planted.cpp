// The engine reaching into the window: the layer check must refuse it.
#include "engine/JobRun.h"
#include "ui/frmMain.h"
