#pragma once
// The fixed tables that tie the metadata grid to the package's Dublin Core elements: the
// required row names, the additional item kinds, the language labels and the type names.
// The metadata pane builds its grid from the same tables, so names always agree.
#include <QList>
#include <QString>
#include <QStringList>

namespace MetadataTables {

// Required rows (group 0), in grid order.
enum RequiredRow { ROW_TITLE, ROW_CREATOR, ROW_PUBLISHER, ROW_DATE, ROW_ISBN, ROW_ECN,
                   ROW_TYPE, ROW_LANGUAGE, REQUIRED_ROW_COUNT };
QString RequiredRowName(int row); // string ids 501-508

// How an additional row (group 1) is written back.
struct AdditionalItem {
    int nameId;        // string id of the row name (509-520)
    int helpId;        // string id of its help text (609-620)
    QString name;
    QString help;
    QString element;   // "dc:subject", "dc:contributor", "meta", ...
    QString role;      // contributor role ("edt", "dsr") or meta name ("publishertel", ...)
};
// The twelve items in picker order.
const QList<AdditionalItem>& AdditionalItems();
const AdditionalItem* FindAdditionalItemByName(const QString& rowName);

// Language labels: "ko-KR" shows as "한국어(KO)"; a label is written back as its code. A
// language without a label shows as stored ("fr"), and an empty one as Korean.
QString LanguageLabel(const QString& storedValue);
// The code of a label, also for the grid's own forms "독일어(DE)" and "스페인어(ES)";
// a text that is no label comes back unchanged.
QString LanguageCode(const QString& label);

const QStringList& TypeNames(); // the eight publication types a book can carry

// A publication date in a W3C form: YYYY, YYYY-MM or YYYY-MM-DD.
bool IsW3CDate(const QString& value);
QString W3CDateRule(); // the message that says so

// String table of the metadata texts, keyed by the resource ids above.
QString MetadataString(int id);

} // namespace MetadataTables
