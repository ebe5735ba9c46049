#include "editor/StartupUpdateStep.h"

#include "editor/MainFrame.h"
#include "online/StartupUpdateCheck.h"

bool RunStartupUpdateStep(CMainFrame& mainFrame) { return !RunStartupUpdateCheck(&mainFrame); }
