#include "editor/StringTable.h"

#include <QHash>

QString CStringTable::Load(int id)
{
    static const QHash<int, QString> table{
        {100, QStringLiteral("OLE를 초기화할 수 없습니다. OLE 라이브러리 버전이 올바른지 확인하십시오.")},
        {101, QStringLiteral("스타일 목록")},
        {132, QStringLiteral("창(&W)...")},
        {155, QStringLiteral("목차 관리")},
        {156, QStringLiteral("파일 목록 보기")},
        {157, QStringLiteral("출력")},
        {158, QStringLiteral("출판 정보 관리")},
        {306, QStringLiteral("편집")},
        {401, QStringLiteral("출력 순서 관리")},
    };
    return table.value(id);
}
