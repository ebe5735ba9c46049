#pragma once
// The fixed texts of a new book's skeleton. Each file is written as its pieces, one after
// another, with nothing between them.
#include <QString>
#include <QStringList>

namespace SkeletonTexts {

QString ContainerText();      // META-INF/container.xml
QStringList StylePieces();    // OEBPS/stylesheet.css, seven pieces
QStringList NcxPieces();      // OEBPS/toc.ncx, four pieces; "%s" in piece 1 is the GUID text
QStringList PackagePieces();  // OEBPS/content.opf, five pieces; "%s" in piece 2 is the GUID text
QString EmptyChapterText();   // the chapter the add-chapter command writes

// True when `text` is what the skeleton's package writes into the Dublin Core element
// `localName` ("title", "date", "Identifier" ...) to show where the user's value goes.
bool IsMetadataPlaceholder(const QString& localName, const QString& text);

} // namespace SkeletonTexts
