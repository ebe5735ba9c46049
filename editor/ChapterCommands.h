#pragma once
// Where the chapter, bookmark and source commands arrive: from the main frame's command
// routing and from the navigation pane's toolbar and context menu.
class CLindarDoc;

// The main frame's ids 32785, 32799, 32778, 32780, 32781 and 32837. False for any other id.
bool RunChapterCommand(int id, CLindarDoc& document);
// The navigation pane's ids (toolbar 32960, 32961; menu 32778, 32794, 32799, 32811, 32839).
bool RunPaneChapterCommand(int id, CLindarDoc& document);
