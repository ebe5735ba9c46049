#pragma once
// Small books made on the fly for the editor's tests: a container, a package with its
// manifest and spine, an NCX and a few chapters, packed with `zip` (mimetype first, stored).
#include <QList>
#include <QMap>
#include <QString>

#include <optional>

struct TestChapter {
    QString fileName; // below OEBPS/
    QString body;     // inner XHTML of <body>
    QString title;
};

struct TestBookSpec {
    QString title = QStringLiteral("Test Book");
    QString language = QStringLiteral("en");
    QString extraMetadata; // more lines for <metadata>, each indented and ending in "\n"
    QList<TestChapter> chapters; // file names may hold folders, "../text/ch1.xhtml" too
    QStringList pictures; // file names below OEBPS/images/, listed in the manifest
    QMap<QString, QString> pictureIds; // picture file name -> manifest id, when not its base name
    QString ncxHref = QStringLiteral("toc.ncx"); // from OEBPS/; the NCX's sources are relative to it
    bool encodeHrefs = false; // hrefs and sources percent-encoded ("a%20b.xhtml")
    QString rootfilePath = QStringLiteral("OEBPS/content.opf"); // what the container names
    // The navMap's content in place of one entry per chapter; its targets are written
    // relative to the NCX's folder.
    std::optional<QString> navMap;
};

// Writes the book's files into a fresh folder below `scratch` and packs them into
// `scratch`/`name`. Returns the full path of the .epub, or an empty string on failure.
QString WriteTestBook(const QString& scratch, const QString& name, const TestBookSpec& layout);

// A tiny valid PNG or JPEG picture.
bool WriteTestPicture(const QString& path);

// Reads a whole member of an .epub (through `unzip -p`).
QByteArray ReadMember(const QString& epub, const QString& member);
