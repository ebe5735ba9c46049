#pragma once

class CMainFrame;

// Start-up step 21, the update check. Returns false when start-up ends here because the
// user chose to download a newer version (the main window has then been asked to close).
bool RunStartupUpdateStep(CMainFrame& mainFrame);
