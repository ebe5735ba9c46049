#pragma once
// Command, message, pane and timer ids of the editor, kept as the numbers the commands,
// accelerators and stored layouts know.

namespace cmd {
// The main frame's own range, 32772 to 32899.
constexpr int NewFile = 32772;          // template chooser, then a new or an opened book
constexpr int SaveBook = 32774;
constexpr int SaveBookAs = 32775;
constexpr int PackageSource = 32778;
constexpr int NcxSource = 32780;
constexpr int ChapterSource = 32781;
constexpr int Undo = 32782;
constexpr int Redo = 32783;
constexpr int ShowNavigation = 32784;
constexpr int AddChapter = 32785;
constexpr int Copy = 32787;
constexpr int Paste = 32788;
constexpr int Cut = 32789;
constexpr int Find = 32790;
constexpr int AddAttribute = 32791;     // the publication pane's add-attribute operation
constexpr int InsertFile = 32794;
constexpr int InsertDocument = 32795;
constexpr int InsertPicture = 32796;
constexpr int Bullet = 32798;
constexpr int InsertBookmark = 32799;
constexpr int Help = 32801;
constexpr int Inquiry = 32802;
constexpr int AboutRibbon = 32803;
constexpr int Indent = 32815;
constexpr int Outdent = 32816;
constexpr int Italic = 32817;
constexpr int Underline = 32818;
constexpr int Bold = 32819;
constexpr int Strikeout = 32820;
constexpr int Subscript = 32821;
constexpr int Superscript = 32822;
constexpr int FontSmaller = 32823;
constexpr int FontLarger = 32824;
constexpr int AlignLeft = 32825;
constexpr int AlignCenter = 32826;
constexpr int AlignRight = 32827;
constexpr int Print = 32828;
constexpr int PrintPreview = 32829;
constexpr int CloseWindow = 32830;      // close the current chapter window (the book)
constexpr int ZoomIn = 32831;
constexpr int ZoomOut = 32832;
constexpr int AlignJustify = 32833;
constexpr int ConversionTool = 32834;
constexpr int Spelling = 32835;
constexpr int Dictionary = 32836;
constexpr int XhtmlSource = 32837;
constexpr int ShowPanes = 32838;
constexpr int PaperA4 = 32840;
constexpr int PaperDevice = 32841;
constexpr int InsertTable = 32842;
constexpr int InsertEquation = 32843;
constexpr int Style = 32844;
constexpr int ScmRegistration = 32845; // "SCM 등록": the content-registration page
constexpr int FitImages = 32846;
constexpr int Numbering = 32899;
// The framework's commands.
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
