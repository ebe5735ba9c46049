#include "package/SkeletonTexts.h"

#include <utility>

// The texts are written byte for byte as they stand here: tabs, line breaks and the
// cut between pieces included. "%s" marks where the GUID text goes.

namespace SkeletonTexts {

QString ContainerText()
{
    return QString::fromUtf8(
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
        "<container version=\"1.0\" xmlns=\"urn:oasis:names:tc:opendocument:xmlns:container\">\n"
        "    <rootfiles>\n"
        "        <rootfile full-path=\"OEBPS/content.opf\" media-type=\"application/oebps-package+xml\"/>\n"
        "   </rootfiles>\n"
        "</container>");
}

QStringList StylePieces()
{
    return {
        QString::fromUtf8(
            "* { font-size: 1em; text-align: left; } @page { margin: 14pt  0pt  16pt  0pt; } body { margin: 0 auto; padding: 0.75em 5%; } #epb-frontpage p { padding: 0.5em; text-indent: 0; text-align: left; } #epb-logo { margin: 1em 0; padding: 0; text-align: center; border: 0; } #epb-logo p { margin: 0; padding: 0; font-weight: bold; text-align: center; }"),
        QString::fromUtf8(
            "div.chapter, div.section, div.book, div.part, div.volume, div.manuscript,  div.epigraph, div#preface, div#introduction, div.letter, div.note,  div.blankpage, div#dedication, div#prologue { page-break-before: always; overflow: auto; } h1, h2, h3, h4, h5, h6 { text-align: center; } h1 { font-size: 2em; } h2 { font-size: 1.5em; } h3 { font-size: 1.25em; }h4 { font-size: 1.1em; font-weight: normal; font-style: italic; }"),
        QString::fromUtf8(
            "a { text-decoration: none; color: #000044; } p { margin: 0.25em 0; padding: 0; line-height: 1.25em; text-align: justify; text-indent: 0.75em; } p .footnote { font-weight: bold; letter-spacing: 1px; } h3 + p, h4 + p, blockquote > p, .thoughtbreak + p, div#titlepage p, div#docImprint p, div#dedication p,  div.images p, div#prologue p { text-indent: 0; } div#dedication { overflow: auto; margin: 10% 10%; text-align: center; }"),
        QString::fromUtf8(
            "div#dedication div.line-group, div#dedication p { text-align: center; } div#dedication p { margin: 1em 0; } div#dedication p.signed { margin-right: 10%; text-align: right; } div.chapter h3, div#prologue h3, div#preface h3, div#introduction h3,  div#biography h3, div#epigraph h3, div#letter h3, div#note h3 { font-size: 1.5em; margin-top: 2em; } div#footnote-entries ul { list-style: none; margin: 0;  padding: 0; }"),
        QString::fromUtf8(
            "div#footnote-entries ul li { margin: 0.35em 0; padding: 0; } div#footnote-entries ul li a { font-size: 1.25em; } div.tables { margin: 1.5em 0; } table tr td { padding: 0 3px; } div.align-center table { margin: 0 auto; text-align: left; }"),
        QString::fromUtf8(
            ".align-center { text-align: center; } .align-right { text-align: right; } .margin-right-10 { margin-right: 10%; } .line-group { margin: 0.75em 0; } .thoughtbreak { text-align: center; letter-spacing: 0.25em; }"),
        QString::fromUtf8(
            "div.images, img, div.images p.image-caption { margin: 0 auto; padding: 0; text-align: center; font-style: italic; font-size: 90%; } div.images { overflow: auto; } div.images, img { max-height: 99%; max-width: 99%; clear: both; } div.images p.image-caption { margin-bottom: 1em; }"),
    };
}

QStringList NcxPieces()
{
    return {
        QString::fromUtf8(
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
        "<ncx xmlns=\"http://www.daisy.org/z3986/2005/ncx/\" version=\"2005-1\">\n"
        "    <head xmlns:ncx=\"http://www.daisy.org/z3986/2005/ncx/\">\n"
        "        <meta name=\"dtb:uid\" content=\"{%s}\"/>\n"
        "        <meta name=\"dtb:totalPageCount\" content=\"0\"/>\n"
        "        <meta name=\"dtb:maxPageNumber\" content=\"0\"/>\n"
        "    </head>"),
        QString::fromUtf8(
        "    <docTitle>\n"
        "        <text>책제목</text>\n"
        "    </docTitle>\n"
        "    <docAuthor>\n"
        "        <text>저자</text>\n"
        "    </docAuthor>"),
        QString::fromUtf8(
        "    <navMap>\n"
        "        <navPoint id=\"navpoint-1\" playOrder=\"1\">\n"
        "            <navLabel><text>표지</text></navLabel>\n"
        "            <content src=\"ch01.xhtml\"/>\n"
        "        </navPoint>\n"
        "        <navPoint id=\"navpoint-2\" playOrder=\"2\">\n"
        "            <navLabel><text>차례</text></navLabel>\n"
        "            <content src=\"ch02.xhtml\"/>\n"
        "        </navPoint>\n"
        "        <navPoint id=\"navpoint-3\" playOrder=\"3\">\n"
        "            <navLabel><text>머리말</text></navLabel>\n"
        "            <content src=\"ch03.xhtml\"/>\n"
        "        </navPoint>\n"
        "        <navPoint id=\"navpoint-4\" playOrder=\"4\">\n"
        "            <navLabel><text>본문</text></navLabel>\n"
        "            <content src=\"content000.xhtml\"/>\n"
        "        </navPoint>\n"
        "        <navPoint id=\"navpoint-5\" playOrder=\"5\">\n"
        "            <navLabel><text>맺음말</text></navLabel>\n"
        "            <content src=\"ch04.xhtml\"/>\n"
        "        </navPoint>\n"
        "\t\t<navPoint id=\"navpoint-6\" playOrder=\"6\">\n"
        "            <navLabel><text>판권</text></navLabel>\n"
        "            <content src=\"ch05.xhtml\"/>\n"
        "        </navPoint>\n"
        "\t</navMap>"),
        QString::fromUtf8(
        "</ncx>"),
    };
}

QStringList PackagePieces()
{
    return {
        QString::fromUtf8(
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
        "<package xmlns=\"http://www.idpf.org/2007/opf\"\n"
        "    xmlns:dc=\"http://purl.org/dc/elements/1.1/\"\n"
        "    xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"\n"
        "    unique-identifier=\"EPB-UUID\" version=\"2.0\">\n"),
        QString::fromUtf8(
        "<metadata xmlns:dc=\"http://purl.org/dc/elements/1.1/\"\n"
        "        xmlns:opf=\"http://www.idpf.org/2007/opf\">\n"
        "        <dc:title>책제목</dc:title>\n"
        "        <dc:creator role=\"aut\">저자명</dc:creator>\n"
        "        <dc:subject>주제</dc:subject>\n"
        "        <dc:publisher>출판사</dc:publisher>\n"
        "        <dc:type>일반</dc:type>\n"
        "        <dc:date opf:event=\"publication\">출판일</dc:date>\n"
        "        <dc:date opf:event=\"copyright\">저작권 날짜</dc:date>\n"
        "        <dc:Identifier opf:scheme=\"ISBN|ECN\">ISBN or ECN 넘버</dc:Identifier>\n"
        "        <dc:identifier id=\"EPB-UUID\">{%s}</dc:identifier>\n"
        "        <dc:language>ko</dc:language>\n"
        "        <meta name=\"Vendara Quorra version\" content=\"1.0.0.1\"/>\n"
        "        <meta name=\"generator\" content=\"Vendara Quorra\" />\n"
        "    </metadata>\n"),
        QString::fromUtf8(
        "<manifest>\n"
        "        <item id=\"ncx\" href=\"toc.ncx\" media-type=\"application/x-dtbncx+xml\"/>\n"
        "        <item id=\"stylesheet\" href=\"stylesheet.css\" media-type=\"text/css\"/>\n"
        "        <item id=\"cover\" href=\"ch01.xhtml\" media-type=\"application/xhtml+xml\"/>\n"
        "        <item id=\"toc\" href=\"ch02.xhtml\" media-type=\"application/xhtml+xml\"/>\n"
        "        <item id=\"prologue\" href=\"ch03.xhtml\" media-type=\"application/xhtml+xml\"/>\n"
        "        <item id=\"contents\" href=\"content000.xhtml\" media-type=\"application/xhtml+xml\"/>\n"
        "        <item id=\"epilogue\" href=\"ch04.xhtml\" media-type=\"application/xhtml+xml\"/>\n"
        "\t\t<item id=\"copyright\" href=\"ch05.xhtml\" media-type=\"application/xhtml+xml\"/>\n"
        "    </manifest>\n"),
        QString::fromUtf8(
        "<spine toc=\"ncx\">\n"
        "        <itemref idref=\"cover\" linear=\"yes\"/>\n"
        "        <itemref idref=\"toc\" linear=\"yes\"/>\n"
        "        <itemref idref=\"prologue\" linear=\"yes\"/>\n"
        "        <itemref idref=\"contents\" linear=\"yes\"/>\n"
        "        <itemref idref=\"epilogue\" linear=\"yes\"/>\n"
        "\t\t<itemref idref=\"copyright\" linear=\"yes\"/>\n"
        "    </spine>\n"),
        QString::fromUtf8(
        "</package>"),
    };
}

QString EmptyChapterText()
{
    return QString::fromUtf8(
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
        "<!DOCTYPE html PUBLIC\n"
        "\t\"-//W3C//DTD XHTML 1.0 Transitional//EN\"\n"
        "\t\"DTD/xhtml1-transitional.dtd\"\t>\n"
        "\t<html\txmlns\t= \"http://www.w3.org/1999/xhtml\" xml:lang=\"ko\">\n"
        "<head>\n"
        "\t<title>Quick Example</title>\n"
        "</head>\n"
        "<body>\n"
        "<p></p>\n"
        "</body>\n"
        "</html>");
}

bool IsMetadataPlaceholder(const QString& localName, const QString& text)
{
    static const std::pair<const char*, const char*> placeholders[] = {
        {"title", "책제목"},       {"creator", "저자명"},   {"subject", "주제"},
        {"publisher", "출판사"},   {"date", "출판일"},      {"date", "저작권 날짜"},
        {"Identifier", "ISBN or ECN 넘버"},
    };
    for (const auto& [name, placeholder] : placeholders) {
        if (localName == QLatin1String(name) && text == QString::fromUtf8(placeholder))
            return true;
    }
    return false;
}

} // namespace SkeletonTexts
