#include "package/XmlDocument.h"

#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const char* kOpf =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<package xmlns=\"http://www.idpf.org/2007/opf\" version=\"2.0\">\n"
    "  <metadata xmlns:dc=\"http://purl.org/dc/elements/1.1/\">\n"
    "    <dc:title>제목</dc:title>\n"
    "  </metadata>\n"
    "</package>\n";

} // namespace

TEST(XmlDocument, QualifiedNamesPathsAndWhitespaceAreKept)
{
    CXmlDocument doc;
    ASSERT_TRUE(doc.ParseBytes(kOpf));
    CXmlNode metadata = doc.GetDocumentElement().SelectSingleNode("/package/metadata");
    ASSERT_FALSE(metadata.IsNull());
    const CXmlNodeList titles = doc.GetDocumentElement().GetElementsByTagName("dc:title");
    ASSERT_EQ(titles.size(), 1);
    EXPECT_EQ(titles[0].GetTextContent(), QString::fromUtf8("제목"));
    // Whitespace-only text between elements is a node of its own.
    EXPECT_EQ(metadata.GetChildNodes().first().GetType(), int(CXmlNode::NODE_TEXT));
    EXPECT_EQ(doc.Serialize(), QByteArray(kOpf));
}

TEST(XmlDocument, CreatedElementsAppearOnlyWhenPlaced)
{
    CXmlDocument doc;
    ASSERT_TRUE(doc.ParseBytes("<a><b/></a>"));
    CXmlNode placed = doc.CreateElement("dc:creator");
    placed.SetAttribute("opf:role", "aut");
    placed.SetTextContent("X & Y");
    doc.CreateElement("unplaced");
    doc.GetDocumentElement().AppendChild(placed);
    EXPECT_EQ(doc.Serialize(), QByteArray("<a><b/><dc:creator opf:role=\"aut\">X &amp; Y</dc:creator></a>\n"));
}

TEST(XmlDocument, WriteReplacesFileWithoutByteOrderMarkAndRejectsBadInput)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("x.xml");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("\xEF\xBB\xBF<r a=\"1\"/>");
    f.close();

    CXmlDocument doc;
    ASSERT_TRUE(doc.Parse(path));
    doc.GetDocumentElement().SetAttribute("a", "2");
    ASSERT_TRUE(doc.Write(path));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("<r a=\"2\"/>\n"));

    CXmlDocument bad;
    EXPECT_FALSE(bad.ParseBytes("<r><unclosed></r>"));
    EXPECT_FALSE(bad.Parse(dir.filePath("missing.xml")));
    EXPECT_TRUE(bad.GetDocumentElement().IsNull());
}

TEST(XmlDocument, SelectNodesReturnsAllMatchesInOrder)
{
    CXmlDocument doc;
    ASSERT_TRUE(doc.ParseBytes(
        "<html><body><p><img src=\"a\"/></p><div><img src=\"x\"/></div><p><img src=\"b\"/></p></body></html>"));
    const CXmlNodeList imgs = doc.GetDocumentElement().SelectNodes("/html/body/p/img");
    ASSERT_EQ(imgs.size(), 2);
    EXPECT_EQ(imgs[0].GetAttribute("src"), "a");
    EXPECT_EQ(imgs[1].GetAttribute("src"), "b");
}

namespace {

QByteArray utf16(const QString& text, QStringConverter::Encoding encoding, bool byteOrderMark)
{
    QStringEncoder encoder(encoding, byteOrderMark ? QStringConverter::Flag::WriteBom : QStringConverter::Flag::Default);
    return encoder(text);
}

// The element and attribute every encoding case carries its sample text in.
QByteArray sampleBody(const QByteArray& text) { return "<r a=\"" + text + "\">" + text + "</r>"; }

} // namespace

TEST(XmlDocument, FilesInOtherEncodingsAreReadAsDeclaredAndWrittenAsUtf8)
{
    using Enc = QStringConverter::Encoding;
    const QString korean = QString::fromUtf8("한국어 똠");
    const auto wide = [](const char* declaration, const QString& text, Enc encoding, bool mark) {
        return utf16(QString::fromUtf8(declaration) + QString::fromUtf8(sampleBody(text.toUtf8())), encoding, mark);
    };
    struct Case {
        const char* name;
        QByteArray bytes;
        QString text;           // what the element and its attribute hold
        QByteArray declaration; // the one written
    };
    const Case cases[] = {
        {"UTF-16LE with a byte-order mark", wide("<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n", korean, Enc::Utf16LE, true),
         korean, "<?xml version=\"1.0\" encoding=\"utf-8\"?>"},
        {"UTF-16BE with a byte-order mark, standalone kept",
         wide("<?xml version=\"1.0\" encoding=\"utf-16\" standalone=\"no\"?>", korean, Enc::Utf16BE, true), korean,
         "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>"},
        {"UTF-16LE without a byte-order mark", wide("<?xml version=\"1.0\" encoding=\"UTF-16\"?>", korean, Enc::Utf16LE, false),
         korean, "<?xml version=\"1.0\" encoding=\"utf-8\"?>"},
        {"UTF-16 declaration without an encoding gets one",
         wide("<?xml version=\"1.0\" standalone=\"yes\"?>", korean, Enc::Utf16LE, true), korean,
         "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\"?>"},
        {"UTF-16 without a declaration gets one", wide("", korean, Enc::Utf16BE, true), korean,
         "<?xml version=\"1.0\" encoding=\"utf-8\"?>"},
        {"UTF-32LE with a byte-order mark", wide("", korean, Enc::Utf32LE, true), korean,
         "<?xml version=\"1.0\" encoding=\"utf-8\"?>"},
        {"ISO-8859-1", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>" + sampleBody("caf\xE9 \xA9"),
         QString::fromUtf8("café ©"), "<?xml version=\"1.0\" encoding=\"utf-8\"?>"},
        {"latin1 in single quotes", "<?xml version='1.0' encoding='latin1'?>" + sampleBody("\xC0 \xFF"),
         QString::fromUtf8("À ÿ"), "<?xml version=\"1.0\" encoding=\"utf-8\"?>"},
        {"windows-1252", "<?xml version=\"1.0\" encoding=\"windows-1252\"?>" + sampleBody("\x93Quote\x94 \x80"),
         QString::fromUtf8("“Quote” €"), "<?xml version=\"1.0\" encoding=\"utf-8\"?>"},
        // 똠 (8C 63) is one of CP949's additions, which Korean tools write under the EUC-KR label.
        {"EUC-KR", "<?xml version=\"1.0\" encoding=\"EUC-KR\"?>" + sampleBody("\xC7\xD1\xB1\xB9\xBE\xEE \x8C\x63"),
         korean, "<?xml version=\"1.0\" encoding=\"utf-8\"?>"},
        {"CP949", "<?xml version=\"1.0\" encoding=\"CP949\"?>" + sampleBody("\xC7\xD1\xB1\xB9\xBE\xEE \x8C\x63"),
         korean, "<?xml version=\"1.0\" encoding=\"utf-8\"?>"},
        {"UTF-8 mark outweighs a wrong label",
         "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>" + sampleBody(korean.toUtf8()), korean,
         "<?xml version=\"1.0\" encoding=\"utf-8\"?>"},
        {"UTF-8 under a US-ASCII label", "<?xml version=\"1.0\" encoding=\"US-ASCII\"?>" + sampleBody(korean.toUtf8()),
         korean, "<?xml version=\"1.0\" encoding=\"utf-8\"?>"},
        {"UTF-8 under a UTF-16 label", "<?xml version=\"1.0\" encoding=\"UTF-16\"?>" + sampleBody(korean.toUtf8()),
         korean, "<?xml version=\"1.0\" encoding=\"utf-8\"?>"},
        {"UTF-8 keeps its own label", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>" + sampleBody(korean.toUtf8()),
         korean, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"},
    };
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CXmlDocument doc;
        ASSERT_TRUE(doc.ParseBytes(c.bytes));
        EXPECT_EQ(doc.GetDocumentElement().GetTextContent(), c.text);
        EXPECT_EQ(doc.GetDocumentElement().GetAttribute("a"), c.text);

        const QString path = dir.filePath("written.xml");
        ASSERT_TRUE(doc.Write(path));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray written = file.readAll();
        EXPECT_EQ(written, c.declaration + "\n" + sampleBody(c.text.toUtf8()) + "\n");

        CXmlDocument again;
        ASSERT_TRUE(again.Parse(path));
        EXPECT_EQ(again.GetDocumentElement().GetTextContent(), c.text);
        EXPECT_EQ(again.Serialize(), written);
    }
}

TEST(XmlDocument, FilesThatCannotBeReadInTheirEncodingAreRefused)
{
    const QByteArray body = sampleBody("x");
    const QByteArray refused[] = {
        "<?xml version=\"1.0\" encoding=\"x-martian\"?>" + body,
        "<?xml version=\"1.0\" encoding=\"EUC-KR\"?><r>\xC7</r>",      // a lead byte without its trail byte
        "<?xml version=\"1.0\" encoding=\"windows-1252\"?><r>\x81</r>", // a byte the code page leaves undefined
        "<?xml version=\"1.0\" encoding=\"EBCDIC-US\"?>" + body,         // the declaration itself does not read back
        utf16("<r>", QStringConverter::Utf16LE, true) + QByteArray("\x00\xD8", 2)
            + utf16("x</r>", QStringConverter::Utf16LE, false), // a lone surrogate
    };
    for (const QByteArray& bytes : refused) {
        SCOPED_TRACE(bytes.toHex(' ').toStdString());
        CXmlDocument doc;
        EXPECT_FALSE(doc.ParseBytes(bytes));
        EXPECT_TRUE(doc.GetDocumentElement().IsNull());
    }
}
