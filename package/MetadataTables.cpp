#include "package/MetadataTables.h"

#include <QDate>
#include <QRegularExpression>

#include <QHash>

namespace MetadataTables {

namespace {

struct LanguageEntry {
    const char* prefix; // first two letters of dc:language, lower case
    const char* label;  // what the grid shows
    const char* code;   // what is written back
};

// The fallback (Korean) is the last entry.
const LanguageEntry kLanguages[] = {
    {"en", "영어(EN)", "EN"},   {"de", "독일(DE)", "DE"},     {"es", "SPANISH(ES)", "ES"},
    {"bo", "티벳(BO)", "BO"},   {"ja", "일본어(JA)", "JA"},   {"la", "라틴(LA)", "LA"},
    {"hu", "헝가리(HU)", "HU"}, {"nl", "네델란드(NL)", "NL"}, {"zh", "중국(ZH)", "ZH"},
    {"ko", "한국어(KO)", "KO"},
};

// The grid's choice list spells two languages differently from the labels above; both
// spellings must be written as the code, never as the label.
const LanguageEntry kGridSpellings[] = {
    {"de", "독일어(DE)", "DE"},
    {"es", "스페인어(ES)", "ES"},
};

const QHash<int, QString>& strings()
{
    static const QHash<int, QString> table = {
        {501, QStringLiteral("제목")},
        {502, QStringLiteral("저자")},
        {503, QStringLiteral("출판사")},
        {504, QStringLiteral("출판일")},
        {505, QStringLiteral("ISBN")},
        {506, QStringLiteral("ECN")},
        {507, QStringLiteral("타입")},
        {508, QStringLiteral("언어")},
        {509, QStringLiteral("부제")},
        {510, QStringLiteral("편집인")},
        {511, QStringLiteral("디자인")},
        {512, QStringLiteral("출처")},
        {513, QStringLiteral("관련자료")},
        {514, QStringLiteral("내용범위")},
        {515, QStringLiteral("이용조건")},
        {516, QStringLiteral("설명")},
        {517, QStringLiteral("출판사 주소")},
        {518, QStringLiteral("출판사 전화번호")},
        {519, QStringLiteral("출판사 이메일")},
        {520, QStringLiteral("출판사 홈페이지")},
        {609, QStringLiteral("출판물 내용에 대한 부제를 입력합니다.")},
        {610, QStringLiteral("출판물의 편집자를 입력합니다.")},
        {611, QStringLiteral("출판물의 디자이너를 입력합니다.")},
        {612, QStringLiteral("도서의 출처를 입력합니다.")},
        {613, QStringLiteral("도서에 대한 관련자료를 입력합니다.")},
        {614, QStringLiteral("시간적 범위, 관할권등 입력합니다.")},
        {615, QStringLiteral("도서의 이용조건을 입력합니다.")},
        {616, QStringLiteral("자유로운 텍스트를 기술합니다.")},
        {617, QStringLiteral("출판사의 주소를 입력합니다.")},
        {618, QStringLiteral("출판사의 전화번호를 입력합니다.")},
        {619, QStringLiteral("출판사의 대표 이메일 주소를 입력합니다.")},
        {620, QStringLiteral("출판사의 홈페이지 주소를 입력합니다.")},
    };
    return table;
}

AdditionalItem item(int nameId, const char* element, const char* role = "")
{
    return {nameId, nameId + 100, MetadataString(nameId), MetadataString(nameId + 100),
            QString::fromLatin1(element), QString::fromLatin1(role)};
}

} // namespace

QString MetadataString(int id) { return strings().value(id); }

QString RequiredRowName(int row)
{
    if (row < 0 || row >= REQUIRED_ROW_COUNT)
        return {};
    return MetadataString(501 + row);
}

const QList<AdditionalItem>& AdditionalItems()
{
    static const QList<AdditionalItem> items = {
        item(509, "dc:subject"),
        item(510, "dc:contributor", "edt"),
        item(511, "dc:contributor", "dsr"),
        item(512, "dc:source"),
        item(513, "dc:relation"),
        item(514, "dc:coverage"),
        item(515, "dc:rights"),
        item(516, "dc:description"),
        item(517, "meta", "publisheraddr"),
        item(518, "meta", "publishertel"),
        item(519, "meta", "publisheremail"),
        item(520, "meta", "publisherhomeurl"),
    };
    return items;
}

const AdditionalItem* FindAdditionalItemByName(const QString& rowName)
{
    for (const AdditionalItem& entry : AdditionalItems()) {
        if (entry.name == rowName)
            return &entry;
    }
    return nullptr;
}

QString LanguageLabel(const QString& storedValue)
{
    const QString language = storedValue.trimmed();
    const QString prefix = language.left(2).toLower();
    for (const LanguageEntry& entry : kLanguages) {
        if (prefix == QLatin1String(entry.prefix))
            return QString::fromUtf8(entry.label);
    }
    // A language the list does not name is shown as the book holds it: showing a listed
    // one instead would claim a language the book does not have.
    if (!language.isEmpty())
        return language;
    return QString::fromUtf8(std::end(kLanguages)[-1].label);
}

QString LanguageCode(const QString& label)
{
    for (const LanguageEntry& entry : kLanguages) {
        if (label == QString::fromUtf8(entry.label))
            return QString::fromLatin1(entry.code);
    }
    for (const LanguageEntry& entry : kGridSpellings) {
        if (label == QString::fromUtf8(entry.label))
            return QString::fromLatin1(entry.code);
    }
    return label;
}

const QStringList& TypeNames()
{
    static const QStringList names = {
        QStringLiteral("일반"), QStringLiteral("신문"), QStringLiteral("잡지"),
        QStringLiteral("만화"), QStringLiteral("사전"), QStringLiteral("논문"),
        QStringLiteral("간행물"), QStringLiteral("연재물"),
    };
    return names;
}

bool IsW3CDate(const QString& value)
{
    static const QRegularExpression form(QStringLiteral("^(\\d{4})(?:-(\\d{2})(?:-(\\d{2}))?)?$"));
    const QRegularExpressionMatch match = form.match(value);
    if (!match.hasMatch())
        return false;
    const int month = match.captured(2).isEmpty() ? 1 : match.captured(2).toInt();
    const int day = match.captured(3).isEmpty() ? 1 : match.captured(3).toInt();
    return QDate(match.captured(1).toInt(), month, day).isValid();
}

QString W3CDateRule()
{
    return QStringLiteral("출판일은 YYYY, YYYY-MM 또는 YYYY-MM-DD 형식으로 입력합니다.");
}

} // namespace MetadataTables
