#pragma once
// The panes' own texts, shown exactly as written here.
#include <QString>

namespace panetexts {

// Shown in an empty tree until the first book is opened or created.
inline QString NoInformation() { return QStringLiteral("표시할 정보가 없습니다."); }
inline QString NoData() { return QStringLiteral("표시할 데이터가 없습니다."); }

// Toolbar tooltips.
inline QString MoveUp() { return QStringLiteral("항목 위로 이동"); }
inline QString MoveDown() { return QStringLiteral("항목 아래로 이동"); }
inline QString Demote() { return QStringLiteral("항목 하위로 이동"); }
inline QString Promote() { return QStringLiteral("항목 상위로 이동"); }
inline QString AddChapterButton() { return QStringLiteral("새목차파일추가"); }
inline QString InsertBookmarkButton() { return QStringLiteral("북마크 추가"); }

// The navigation pane's context menu.
inline QString ContentMenu() { return QStringLiteral("컨텐츠팝업"); }
inline QString ShowSource() { return QStringLiteral("소스보기"); }
inline QString AddContentMenu() { return QStringLiteral("컨텐츠 파일추가"); }
inline QString AddChapter() { return QStringLiteral("파일 추가"); }
inline QString InsertBookmark() { return QStringLiteral("북마크 추가"); }
inline QString DeleteContent() { return QStringLiteral("컨텐츠 파일삭제"); }
inline QString RenameEntry() { return QStringLiteral("목차이름수정"); }

} // namespace panetexts
