#include "pdfprinter/converter/ConverterStrings.h"

QString LoadConverterString(int id)
{
    switch (id) {
    case IDS_DOCUMENT_LINE: return QStringLiteral("%s");
    case IDS_FOLDER_LINE: return QStringLiteral("%s");
    case IDS_PAGE_STATUS: return QStringLiteral("%d / %d 페이지를 생성하고 있습니다.");
    case IDS_SAVING: return QStringLiteral("변환 결과를 저장하고 있습니다.");
    case IDS_DONE: return QStringLiteral("성공적으로 변환을 완료하였습니다.");
    case IDS_JOB_ERROR:
        return QStringLiteral("인쇄할 문서 정보에 오류가 있거나, 인쇄 도중 오류가 발생하였습니다.\n\n다시 인쇄를 시도해 보십시오.");
    case IDS_SAVE_AS_TITLE: return QStringLiteral("다른 이름으로 PDF 저장");
    case IDS_SAVE_AS_EXTENSION: return QStringLiteral(".pdf");
    case IDS_SAVE_AS_FILTER: return QStringLiteral("PDF, PDF/A 문서(*.PDF)|*.pdf||");
    case IDS_NAME_LINE: return QStringLiteral("%s");
    case IDS_NO_VIEWER: return QStringLiteral("PDF 뷰어가 설치되어 있지 않아 해당 문서를 열 수 없습니다.");
    case IDS_NO_DOCUMENT: return QStringLiteral("해당 문서가 존재하지 않습니다.");
    case IDS_CLOSE: return QStringLiteral("닫기(&C)");
    case IDS_FILE_IN_USE: return QStringLiteral("[%s] 파일이 사용중입니다.\n\n다른 이름으로 저장하세요.");
    case IDS_APP_PREFIXES: return QStringLiteral("Microsoft Word -|Microsoft Excel -|Microsoft PowerPoint -");
    case IDS_CANCEL: return QStringLiteral("취소(&C)");
    default: return {};
    }
}

QString ConverterCaption() { return QStringLiteral("Corvel PDF"); }

QString FormatConverterString(int id, const QStringList& arguments)
{
    const QString format = LoadConverterString(id);
    QString text;
    qsizetype next = 0;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const bool field = format.at(i) == u'%' && i + 1 < format.size()
            && (format.at(i + 1) == u's' || format.at(i + 1) == u'd');
        if (field && next < arguments.size()) {
            text += arguments.at(next++);
            ++i;
        } else {
            text += format.at(i);
        }
    }
    return text;
}
