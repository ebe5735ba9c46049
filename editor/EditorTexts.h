#pragma once
// The editor's own texts, shown exactly as written here.
#include <QString>

namespace texts {

inline QString AppTitle() { return QStringLiteral("Tolvo maker 편집툴"); }
inline QString AppVersion() { return QStringLiteral("0.9.3.0"); }

// Asked before another book is opened or created (P1) and before the book or the main
// window closes (P2). The two differ by the blank after "epub".
inline QString SaveBeforeOpen() { return QStringLiteral("epub 파일을 저장하시겠습니까?"); }
inline QString SaveBeforeClose() { return QStringLiteral("epub파일을 저장하시겠습니까?"); }
inline QString SaveFailed() { return QStringLiteral("epub 파일을 저장할 수 없습니다."); }
// The status bar while a book is unpacked; %1 is how far, in percent.
inline QString OpeningBook() { return QStringLiteral("epub 파일을 여는 중입니다... %1%"); }
inline QString ChapterSaveFailed()
{
    return QStringLiteral("본문 파일을 저장할 수 없습니다.\n%1\n편집한 내용은 편집 창에 그대로 남아 있습니다.");
}
inline QString BookSaved() { return QStringLiteral("%1 파일을 저장했습니다."); }
inline QString NoChapterOpened() { return QStringLiteral("편집할 수 있는 본문을 열지 못했습니다.\n%1"); }
// Shown after the book's and the chapter's name while the book has unsaved changes.
inline QString UnsavedMark() { return QStringLiteral("*"); }

inline QString StyleQuestion() { return QStringLiteral("기존문서의 스타일을 사용하시겠습니까?"); }
inline QString FitImagesQuestion() { return QStringLiteral("현재 페이지의 모든 이미지 개체 속성을\n 일괄로 변경하시겠습니까?"); }
inline QString FitImagesDone() { return QStringLiteral("작업이 완료 되었습니다."); }
inline QString FitImagesNone() { return QStringLiteral("페이지에 작업할 이미지가 없습니다."); }

inline QString ComponentMissing() { return QStringLiteral("Corvel Tdx2007이 설치되어 있어야 합니다."); }
inline QString UpdateCancelled() { return QStringLiteral("사용자에 의해서 업데이트가 취소되었습니다."); }

inline QString AboutCaption() { return QStringLiteral("Tolvo maker 편집툴 정보"); }
inline QString AboutText() { return QStringLiteral("Tolvo maker 편집툴, 버전 0.9.3.0"); }
inline QString AboutSecondLine() { return QStringLiteral("EPUB 2 전자책 저작 도구"); }
inline QString AboutOk() { return QStringLiteral("확인"); }

// The document type: name for untitled books, dialog filter and extension.
inline QString DocumentName() { return QStringLiteral("ePub"); }
inline QString FileFilter() { return QStringLiteral("Lindar Files (*.epub)"); }
inline QString FileExtension() { return QStringLiteral(".epub"); }

// The help and service commands.
inline QString HelpFile() { return QStringLiteral("Quorra.html"); }
inline QString HelpMissing() { return QStringLiteral("도움말을 열 수 없습니다.\n%1"); }
inline QString ServiceNotReady() { return QStringLiteral("서비스 준비중 입니다."); }
inline QString ConversionTool() { return QStringLiteral("Tolvo maker 변환툴.exe"); }
inline QString ConversionToolMissing() { return QStringLiteral("변환툴을 실행할 수 없습니다.\n%1"); }

// A chapter the table of contents or the reading order names is not in the book.
inline QString FileMissing() { return QStringLiteral("파일이 존재하지 않습니다."); }

// The framework's file-error messages.
inline QString CannotOpenFile() { return QStringLiteral("%1\n파일을 열 수 없습니다."); }
inline QString NoPackage() { return QStringLiteral("%1\n편집할 패키지 문서가 없어 책을 열 수 없습니다.\n%2"); }

// The chapter and bookmark commands.
inline QString BookmarkQuestion() { return QStringLiteral("현재 커서위치에 북마크를 삽입하시겠습니까?"); }
inline QString DeleteSubEntriesFirst() { return QStringLiteral("하위 컨텐츠를 먼저 삭제해야 합니다."); }
inline QString DeleteContentQuestion() { return QStringLiteral("컨텐츠 파일을 삭제 하시겠습니까?"); }

// The source viewer's titles.
inline QString SelectedSourceTitle() { return QStringLiteral("소스보기"); }
inline QString PackageSourceTitle() { return QStringLiteral("출판정보 소스보기"); }
inline QString NcxSourceTitle() { return QStringLiteral("목차정보 소스보기"); }
inline QString ChapterSourceTitle() { return QStringLiteral("본문 소스보기"); }
inline QString XhtmlSourceTitle() { return QStringLiteral("XHTML파일 소스보기"); }

// Splash texts, in start-up order.
inline QString SplashInitial() { return QStringLiteral("Start Quorra..."); }

} // namespace texts
