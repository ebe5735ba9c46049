#pragma once
// What a chapter carries besides its body: title, language, linked style sheets and
// embedded style text, and the alternative texts of its pictures (which the layout
// drops). Kept from opening to saving so the written chapter stays tied to its CSS.
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace pugi {
class xml_node;
}

namespace tdx {

// The character that carries a bookmark where no text does (an empty anchor).
constexpr char16_t kBookmarkCarrier = 0x200B;

struct ChapterHead {
    using Attributes = QList<QPair<QString, QString>>;

    QString title;
    QString language;
    QList<Attributes> links;
    QStringList styles;
    QHash<QString, QString> altTexts; // picture src -> alt
    QStringList blockClasses;          // class attributes of paragraphs, by block user state - 1
    // The head element as it was read, with the html and body elements' attributes; the
    // chapter is written back with them when there is one.
    QString source;
    Attributes htmlAttributes;
    Attributes bodyAttributes;

    // Reads the head of a well-formed chapter; false (and an empty head) otherwise.
    bool read(const QByteArray& utf8);
    // The same from the html element of a parsed chapter.
    void read(const pugi::xml_node& html);
    // The chapter text made ready for the layout: em lengths made absolute and the style
    // sheets left out. The chapter's CSS stays in force in the book through the kept head;
    // were it applied here too, its formats would be written back inline and doubled.
    // Class attributes of paragraphs travel as block user states (see blockClasses).
    QString prepareBody(const QString& text);
};

} // namespace tdx
