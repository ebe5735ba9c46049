#pragma once
// Command ids of the panes' toolbars (resources 339 and 356) and the navigation pane's context menu
// (resource 32806), kept as the numbers the editor's command routing knows.

namespace panecmd {
constexpr int MoveUp = 32901;
constexpr int MoveDown = 32902;
constexpr int Demote = 32903;
constexpr int Promote = 32904;
constexpr int AddChapterButton = 32960;
constexpr int InsertBookmarkButton = 32961;

// The properties pane's toolbar (resource 356).
constexpr int AddAttributeButton = 32962;
constexpr int DeleteAttributeButton = 32963;

constexpr int ShowSource = 32778;
constexpr int AddChapter = 32794;
constexpr int InsertBookmark = 32799;
constexpr int DeleteContent = 32811;
constexpr int RenameEntry = 32839;

// The navigation pane takes every id of this range from its menu.
constexpr int FirstMenuCommand = 32771;
constexpr int LastMenuCommand = 32899;
} // namespace panecmd
