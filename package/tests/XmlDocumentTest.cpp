#include "package/XmlDocument.h"

#include <QFile>
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
