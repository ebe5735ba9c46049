#include "editor/ChapterCommands.h"

#include "editor/EditorTexts.h"
#include "editor/LindarDoc.h"
#include "panes/PaneCommandIds.h"

namespace {

namespace framecmd {
constexpr int AddChapter = 32785;
constexpr int InsertBookmark = 32799;
constexpr int PackageSource = 32778;
constexpr int NcxSource = 32780;
constexpr int ChapterSource = 32781;
constexpr int XhtmlSource = 32837;
} // namespace framecmd

} // namespace

bool RunChapterCommand(int id, CLindarDoc& document)
{
    switch (id) {
    case framecmd::AddChapter: document.AddChapter(); return true;
    case framecmd::InsertBookmark: document.InsertBookmark(); return true;
    case framecmd::PackageSource: document.ShowPackageSource(); return true;
    case framecmd::NcxSource: document.ShowNcxSource(); return true;
    case framecmd::ChapterSource: document.ShowChapterSource(texts::ChapterSourceTitle()); return true;
    case framecmd::XhtmlSource: document.ShowChapterSource(texts::XhtmlSourceTitle()); return true;
    default: return false;
    }
}

bool RunPaneChapterCommand(int id, CLindarDoc& document)
{
    switch (id) {
    case panecmd::AddChapter:
    case panecmd::AddChapterButton: document.AddChapter(); return true;
    case panecmd::InsertBookmark:
    case panecmd::InsertBookmarkButton: document.InsertBookmark(); return true;
    case panecmd::DeleteContent: document.DeleteContent(); return true;
    case panecmd::RenameEntry: document.RenameEntry(); return true;
    case panecmd::ShowSource: document.ShowSelectedSource(); return true;
    default: return false;
    }
}
