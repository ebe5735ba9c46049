#pragma once
// The steps that make a new book's work folder from the fixed skeleton and the template
// chapters. The container runs them in order when it creates a new book.
#include <QString>
#include <QStringList>

class CNewBookSkeleton {
public:
    // Creates the first free "NewEpub.epub", "NewEpub(01).epub", ... below the base folder,
    // with META-INF, OEBPS and OEBPS/images. Returns its path, or empty when none can be made.
    static QString MakeNewWorkFolder(const QString& baseFolder);
    // mimetype, container.xml, stylesheet.css, toc.ncx and content.opf with a fresh GUID.
    static bool WriteSkeletonFiles(const QString& workFolder);
    // The six chapters, from the delivered "template" folder unless another folder is given.
    static bool CopyTemplateChapters(const QString& workFolder, const QString& templateFolder = QString());
    // A new GUID as lower-case 8-4-4-4-12 hexadecimal digits, without braces.
    static QString MakeGuidText();
    static bool WriteEmptyChapter(const QString& path);

    static QString TemplateFolder();
    static const QStringList& TemplateChapterNames();
    // The members of a new book, in the order the container lists them.
    static const QStringList& MemberNames();

private:
    static bool WritePieces(const QString& path, const QStringList& pieces);
};
