#pragma once
// Command, message, pane and timer ids of the editor, kept as the numbers the commands,
// accelerators and stored layouts know.

namespace cmd {
constexpr int NewFile = 32772;          // template chooser, then a new or an opened book
constexpr int SaveBook = 32774;
constexpr int SaveBookAs = 32775;
constexpr int CloseWindow = 32830;      // close the current chapter window (the book)
constexpr int InsertPicture = 32796;
constexpr int AboutRibbon = 32803;
constexpr int ShowPanes = 32838;
constexpr int ScmRegistration = 32845; // "SCM 등록": the content-registration page
constexpr int FileOpen = 57601;         // the framework's open command
constexpr int FileSave = 57603;
constexpr int FileSaveAs = 57604;
constexpr int AppAbout = 57664;
constexpr int AppExit = 57665;
constexpr int FirstFrameCommand = 32772; // the main frame's own range
constexpr int LastFrameCommand = 32899;
constexpr int FirstLook = 210;
constexpr int LastLook = 218;
constexpr int WindowsDialog = 131;
} // namespace cmd

namespace msg {
constexpr int ReopenBook = 0x07E9; // WM_REOPEN_BOOK
} // namespace msg

namespace pane {
constexpr int Navigation = 133;
constexpr int Manifest = 134;
constexpr int Style = 323;
constexpr int Spine = 403;
constexpr int Output = 149;
constexpr int Properties = 150;
constexpr int StatusIndicator = 121;
} // namespace pane

namespace timer {
constexpr int RestoreScroll = 1001;
} // namespace timer
