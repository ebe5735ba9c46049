#include "panes/MetadataGridBuilder.h"

#include "package/MetadataTables.h"
#include "platform/controls/PropertyGrid.h"

#include <QStringList>

using namespace MetadataTables;

namespace {

struct RequiredRow {
    const char* initialValue;
    const char* help;
};

// Initial values and help texts in row order; most rows start with their own name.
const RequiredRow kRequiredRows[REQUIRED_ROW_COUNT] = {
    {"제목", "책 제목을 입력합니다."},
    {"저자", "저자를 입력 합니다."},
    {"출판사", "출판사를 입력 합니다."},
    {"00-00-00", "YY-MM-DD 형식으로 입력합니다."},
    {"ISBN", "ISBN 값을 입력 합니다."},
    {"ECN", "ECN 값을 입력 합니다."},
    {"일반", "출판물 타입을 선택합니다."},
    {"한국어(KO)", "출판물의 언어를 선택합니다."},
};

QStringList typeChoices()
{
    QStringList choices = TypeNames();
    choices << QStringLiteral("기타");
    return choices;
}

QStringList languageChoices()
{
    return {QStringLiteral("한국어(KO)"), QStringLiteral("영어(EN)"), QStringLiteral("독일어(DE)"),
            QStringLiteral("스페인어(ES)"), QStringLiteral("티벳(BO)"), QStringLiteral("일본어(JA)"),
            QStringLiteral("라틴(LA)"), QStringLiteral("헝가리(HU)"), QStringLiteral("네델란드(NL)"),
            QStringLiteral("중국(ZH)")};
}

} // namespace

void CMetadataGridBuilder::ResetGrid(platform::PropertyGrid& grid)
{
    grid.RemoveAll();
    const int required = grid.AddGroup(QStringLiteral("필수 항목"));
    for (int row = 0; row < REQUIRED_ROW_COUNT; ++row) {
        grid.AddRow(required, RequiredRowName(row), QString::fromUtf8(kRequiredRows[row].initialValue),
                    QString::fromUtf8(kRequiredRows[row].help));
    }
    // Type and language take only the listed values.
    grid.SetRowOptions(required, ROW_TYPE, typeChoices());
    grid.SetRowOptions(required, ROW_LANGUAGE, languageChoices());
    grid.AddGroup(QStringLiteral("추가 항목"));
    grid.Redraw();
}

bool CMetadataGridBuilder::AddAdditionalItem(platform::PropertyGrid& grid, const QString& name,
                                             const QString& help)
{
    if (grid.GetGroupCount() <= GROUP_ADDITIONAL || grid.FindRow(GROUP_ADDITIONAL, name) >= 0)
        return false;
    grid.AddRow(GROUP_ADDITIONAL, name, name, help);
    grid.Redraw();
    return true;
}
