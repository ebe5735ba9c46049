#include "package/NewBookSkeleton.h"

#include "package/SkeletonTexts.h"
#include "platform/core/KnownFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

namespace {

const QString kBaseName = QStringLiteral("NewEpub");

// Enough for any real use; it only guards against a folder that refuses every name.
constexpr int kMaxNameCounter = 100000;

bool makeFolder(const QString& path) { return QDir().mkdir(path); }

} // namespace

QString CNewBookSkeleton::MakeNewWorkFolder(const QString& baseFolder)
{
    QString base = baseFolder;
    if (!base.endsWith(QLatin1Char('/')))
        base += QLatin1Char('/');
    QString folder = base + kBaseName + QStringLiteral(".epub");
    int counter = 0;
    while (!makeFolder(folder)) {
        // Only a taken name counts on; a base that cannot take folders at all ends the search.
        if (!QFileInfo::exists(folder) || ++counter > kMaxNameCounter)
            return {};
        folder = base + QStringLiteral("%1(%2).epub").arg(kBaseName).arg(counter, 2, 10, QLatin1Char('0'));
    }
    const bool made = makeFolder(folder + QStringLiteral("/META-INF"))
        && makeFolder(folder + QStringLiteral("/OEBPS"))
        && makeFolder(folder + QStringLiteral("/OEBPS/images"));
    return made ? folder : QString();
}

bool CNewBookSkeleton::WritePieces(const QString& path, const QStringList& pieces)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    for (const QString& piece : pieces) {
        const QByteArray bytes = piece.toUtf8();
        if (file.write(bytes) != bytes.size())
            return false;
    }
    return file.flush();
}

bool CNewBookSkeleton::WriteSkeletonFiles(const QString& workFolder)
{
    if (!WritePieces(workFolder + QStringLiteral("/mimetype"), {QStringLiteral("application/epub+zip")}))
        return false;
    if (!WritePieces(workFolder + QStringLiteral("/META-INF/container.xml"), {SkeletonTexts::ContainerText()}))
        return false;
    if (!WritePieces(workFolder + QStringLiteral("/OEBPS/stylesheet.css"), SkeletonTexts::StylePieces()))
        return false;
    const QString guid = MakeGuidText();
    if (guid.isEmpty())
        return false;
    QStringList ncx = SkeletonTexts::NcxPieces();
    ncx[0].replace(QStringLiteral("%s"), guid);
    if (!WritePieces(workFolder + QStringLiteral("/OEBPS/toc.ncx"), ncx))
        return false;
    QStringList package = SkeletonTexts::PackagePieces();
    package[1].replace(QStringLiteral("%s"), guid);
    return WritePieces(workFolder + QStringLiteral("/OEBPS/content.opf"), package);
}

QString CNewBookSkeleton::TemplateFolder()
{
    return platform::ProgramDataFolder(QStringLiteral("template"));
}

const QStringList& CNewBookSkeleton::TemplateChapterNames()
{
    static const QStringList names = {
        QStringLiteral("ch01.xhtml"), QStringLiteral("ch02.xhtml"), QStringLiteral("ch03.xhtml"),
        QStringLiteral("content000.xhtml"), QStringLiteral("ch04.xhtml"), QStringLiteral("ch05.xhtml")};
    return names;
}

const QStringList& CNewBookSkeleton::MemberNames()
{
    static const QStringList names = [] {
        QStringList list = {QStringLiteral("mimetype"), QStringLiteral("META-INF/container.xml"),
                            QStringLiteral("OEBPS/stylesheet.css"), QStringLiteral("OEBPS/content.opf"),
                            QStringLiteral("OEBPS/toc.ncx")};
        for (const QString& chapter : TemplateChapterNames())
            list << QStringLiteral("OEBPS/") + chapter;
        return list;
    }();
    return names;
}

bool CNewBookSkeleton::CopyTemplateChapters(const QString& workFolder, const QString& templateFolder)
{
    const QString from = templateFolder.isEmpty() ? TemplateFolder() : templateFolder;
    for (const QString& chapter : TemplateChapterNames()) {
        const QString target = workFolder + QStringLiteral("/OEBPS/") + chapter;
        if (QFileInfo::exists(target) && !QFile::remove(target))
            return false;
        if (!QFile::copy(from + QLatin1Char('/') + chapter, target))
            return false;
        // The copy keeps the template's read-only mode; the book's chapters must stay editable.
        QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::WriteOwner);
    }
    return true;
}

QString CNewBookSkeleton::MakeGuidText()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces).toLower();
}

bool CNewBookSkeleton::WriteEmptyChapter(const QString& path)
{
    return WritePieces(path, {SkeletonTexts::EmptyChapterText()});
}
