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

namespace tdx {

struct ChapterHead {
    using Attributes = QList<QPair<QString, QString>>;

    QString title;
    QString language;
    QList<Attributes> links;
    QStringList styles;
    QHash<QString, QString> altTexts; // picture src -> alt

    // Reads the head of a well-formed chapter; false (and an empty head) otherwise.
    bool read(const QByteArray& utf8);
    // The chapter text made ready for the layout: em lengths made absolute, and with
    // `ownStyles` false the chapter's style sheets left out.
    static QString prepareBody(const QString& text, bool ownStyles);
};

} // namespace tdx
