#pragma once
// The update step of the editor's start-up.
class QWidget;

// Checks for a newer version and, when there is one, shows the update dialog owned by the
// main window. Returns true when the user chose Download: the main window has then been
// asked to close and start-up ends here. Otherwise start-up goes on; a declined update is
// confirmed with "사용자에 의해서 업데이트가 취소되었습니다.".
bool RunStartupUpdateCheck(QWidget* mainWindow);
