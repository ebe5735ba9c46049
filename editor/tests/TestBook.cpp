#include "TestBook.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QUrl>

namespace {

bool writeText(const QString& written, const QString& text)
{
    const QString path = QDir::cleanPath(written); // "OEBPS/../text" before OEBPS exists
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) >= 0;
}

QString mediaTypeOf(const QString& fileName)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg"))
        return QStringLiteral("image/jpeg");
    return QStringLiteral("image/") + suffix;
}

bool run(const QString& folder, const QStringList& arguments)
{
    QProcess zip;
    zip.setWorkingDirectory(folder);
    zip.start(QStringLiteral("zip"), arguments);
    return zip.waitForFinished(30000) && zip.exitStatus() == QProcess::NormalExit && zip.exitCode() == 0;
}

} // namespace

bool WriteTestPicture(const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    return image.save(path);
}

QString WriteTestBook(const QString& scratch, const QString& name, const TestBookSpec& layout)
{
    const QString root = scratch + QStringLiteral("/src-") + QFileInfo(name).completeBaseName();
    QDir(root).removeRecursively();
    bool ok = writeText(root + QStringLiteral("/mimetype"), QStringLiteral("application/epub+zip"));
    ok = ok && writeText(root + QStringLiteral("/META-INF/container.xml"), QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<container version=\"1.0\" xmlns=\"urn:oasis:names:tc:opendocument:xmlns:container\">\n"
        "  <rootfiles><rootfile full-path=\"%1\" media-type=\"application/oebps-package+xml\"/></rootfiles>\n"
        "</container>\n").arg(layout.rootfilePath));

    const QString packageFolder = root + QStringLiteral("/OEBPS");
    const QString ncxPath = QDir::cleanPath(packageFolder + QLatin1Char('/') + layout.ncxHref);
    const QDir ncxFolder(QFileInfo(ncxPath).absolutePath());
    auto href = [&](const QString& path) {
        return layout.encodeHrefs ? QString::fromUtf8(QUrl::toPercentEncoding(path, "/")) : path;
    };
    QString manifest = QStringLiteral("    <item id=\"ncx\" href=\"%1\" media-type=\"application/x-dtbncx+xml\"/>\n")
                           .arg(layout.ncxHref);
    QString spine;
    QString navPoints;
    int order = 1;
    for (const TestChapter& chapter : layout.chapters) {
        const QString id = QFileInfo(chapter.fileName).completeBaseName().replace(' ', '_');
        const QString source = ncxFolder.relativeFilePath(QDir::cleanPath(packageFolder + '/' + chapter.fileName));
        manifest += QStringLiteral("    <item id=\"%1\" href=\"%2\" media-type=\"application/xhtml+xml\"/>\n")
                        .arg(id, href(chapter.fileName));
        spine += QStringLiteral("    <itemref idref=\"%1\"/>\n").arg(id);
        navPoints += QStringLiteral("    <navPoint id=\"navPoint-%1\" playOrder=\"%1\"><navLabel><text>%2</text></navLabel>"
                                    "<content src=\"%3\"/></navPoint>\n")
                         .arg(order++)
                         .arg(chapter.title.isEmpty() ? id : chapter.title, href(source));
        ok = ok && writeText(root + QStringLiteral("/OEBPS/") + chapter.fileName, QStringLiteral(
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.1//EN\" \"http://www.w3.org/TR/xhtml11/DTD/xhtml11.dtd\">\n"
            "<html xmlns=\"http://www.w3.org/1999/xhtml\"><head><title>%1</title></head>\n"
            "<body>%2</body></html>\n").arg(id, chapter.body));
    }
    for (const QString& picture : layout.pictures) {
        manifest += QStringLiteral("    <item id=\"%1\" href=\"images/%2\" media-type=\"%3\"/>\n")
                        .arg(layout.pictureIds.value(picture, QFileInfo(picture).completeBaseName()),
                             href(picture), mediaTypeOf(picture));
        ok = ok && WriteTestPicture(root + QStringLiteral("/OEBPS/images/") + picture);
    }
    ok = ok && writeText(root + QStringLiteral("/OEBPS/content.opf"), QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<package xmlns=\"http://www.idpf.org/2007/opf\" version=\"2.0\" unique-identifier=\"BookId\">\n"
        "  <metadata xmlns:dc=\"http://purl.org/dc/elements/1.1/\" xmlns:opf=\"http://www.idpf.org/2007/opf\">\n"
        "    <dc:title>%1</dc:title>\n    <dc:creator>Tester</dc:creator>\n    <dc:language>%4</dc:language>\n"
        "    <dc:identifier id=\"BookId\">urn:uuid:2f0c1c52-8d6e-4f0e-9a53-0c5b7c2d9e11</dc:identifier>\n"
        "%5  </metadata>\n  <manifest>\n%2  </manifest>\n  <spine toc=\"ncx\">\n%3  </spine>\n</package>\n")
        .arg(layout.title, manifest, spine, layout.language, layout.extraMetadata));
    const QString navMap = layout.navMap ? *layout.navMap : QStringLiteral("\n") + navPoints + QStringLiteral("  ");
    ok = ok && writeText(ncxPath, QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<ncx xmlns=\"http://www.daisy.org/z3986/2005/ncx/\" version=\"2005-1\">\n"
        "  <head><meta name=\"dtb:uid\" content=\"urn:uuid:2f0c1c52-8d6e-4f0e-9a53-0c5b7c2d9e11\"/></head>\n"
        "  <docTitle><text>%1</text></docTitle>\n  <docAuthor><text>Tester</text></docAuthor>\n"
        "  <navMap>%2</navMap>\n</ncx>\n").arg(layout.title, navMap));
    if (!ok)
        return {};

    const QString epub = scratch + QLatin1Char('/') + name;
    QFile::remove(epub);
    QStringList members = QDir(root).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    members.removeAll(QStringLiteral("mimetype"));
    if (!run(root, {QStringLiteral("-X0q"), epub, QStringLiteral("mimetype")})
        || !run(root, QStringList{QStringLiteral("-Xrq9"), epub} + members))
        return {};
    return epub;
}

QByteArray ReadMember(const QString& epub, const QString& member)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), epub, member});
    if (!unzip.waitForFinished(30000))
        return {};
    return unzip.readAllStandardOutput();
}
