#include "editor/StartupUpdateStep.h"

// The update check of the online module plugs in here. Until it does, start-up goes on as
// after a check that found nothing newer.
bool RunStartupUpdateStep(CMainFrame&) { return true; }
