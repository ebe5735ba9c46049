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

// The content and bookmark dialogs.
inline QString AddContentsCaption() { return QStringLiteral("목차 추가"); }
inline QString ContentsLabel() { return QStringLiteral("목차 이름"); }
inline QString AddBookmarkCaption() { return QStringLiteral("북마크 추가"); }
inline QString BookmarkLabel() { return QStringLiteral("북마크 이름"); }
inline QString Ok() { return QStringLiteral("확인"); }
inline QString Cancel() { return QStringLiteral("취소"); }

// The source viewer.
inline QString Close() { return QStringLiteral("닫기"); }
inline QString FileMissing() { return QStringLiteral("파일이 존재하지 않습니다."); }

// The properties pane, its toolbar and its picker.
inline QString AddAttributeButton() { return QStringLiteral("추가항목 추가"); }
inline QString DeleteAttributeButton() { return QStringLiteral("추가항목 삭제"); }
inline QString RequiredItemUndeletable() { return QStringLiteral("필수항목을 삭제할 수 없습니다."); }
inline QString DeleteAttributeQuestion() { return QStringLiteral("출판정보 [%1]를 삭제 하시겠습니까?"); }
inline QString AttributeDlgCaption() { return QStringLiteral("추가항목 입력창"); }
inline QString Add() { return QStringLiteral("추가"); }

// The style pane.
inline QString StyleColumn() { return QStringLiteral("적용 가능 스타일"); }

// The template chooser.
inline QString TemplateHeading() { return QStringLiteral("새 전자책 템플릿 선택하기"); }
inline QString NewFromTemplate() { return QStringLiteral("전자책 템플릿 선택하기"); }
inline QString OpenExistingBook() { return QStringLiteral("기존 전자책(ePub) 문서 열기"); }
inline QString NoTemplateSelected() { return QStringLiteral("템플릿 파일이 선택되지 않았습니다."); }
inline QString ErrorCaption() { return QStringLiteral("Error"); }

} // namespace panetexts
