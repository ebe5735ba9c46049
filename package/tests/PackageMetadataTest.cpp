#include "package/PackageMetadata.h"

#include "MetadataTestSupport.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace testsupport;

namespace {

QByteArray opf(const QByteArray& metadataAttributes, const QByteArray& children,
               const QByteArray& packageAttributes = "")
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<package xmlns=\"http://www.idpf.org/2007/opf\" "
        + packageAttributes + " version=\"2.0\">\n<metadata " + metadataAttributes + ">\n" + children
        + "</metadata>\n<manifest/>\n</package>\n";
}

const QByteArray kDc = "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" xmlns:opf=\"http://www.idpf.org/2007/opf\"";

class PackageMetadataTest : public ::testing::Test {
protected:
    void SetUp() override { BuildGrid(grid); }

    // Writes the package file and loads it into the grid.
    void load(const QByteArray& bytes)
    {
        path = dir.filePath(QStringLiteral("content.opf"));
        ASSERT_TRUE(WriteFile(path, bytes));
        ASSERT_TRUE(document->Parse(path));
        metadata.SetMetadataGrid(&grid);
        metadata.LoadMetadata(document, path);
    }
    // Saves both groups and reads the result back into a fresh document.
    CXmlNode saveAndReload()
    {
        EXPECT_TRUE(metadata.SaveRequiredMetadata());
        EXPECT_TRUE(metadata.SaveOptionalMetadata());
        EXPECT_TRUE(reread.Parse(path));
        return reread.GetDocumentElement().SelectSingleNode(QStringLiteral("/package/metadata"));
    }
    QString row(const char* name) const { return RowValue(grid, 0, QString::fromUtf8(name)); }
    static QStringList texts(const CXmlNode& metadataNode, const QString& element)
    {
        QStringList out;
        for (const CXmlNode& node : metadataNode.GetElementsByTagName(element))
            out << node.GetTextContent();
        return out;
    }

    QTemporaryDir dir;
    QString path;
    platform::MemoryGrid grid;
    std::shared_ptr<CXmlDocument> document = std::make_shared<CXmlDocument>();
    CXmlDocument reread;
    CPackageMetadata metadata;
};

} // namespace

TEST_F(PackageMetadataTest, FillsRequiredAndAdditionalRows)
{
    load(opf(kDc,
             "<dc:title>첫 제목</dc:title><dc:title>책 제목</dc:title>\n"
             "<dc:creator opf:role=\"aut\">홍길동</dc:creator>\n"
             "<dc:publisher>출판사A</dc:publisher>\n"
             "<dc:date opf:event=\"publication\">2020</dc:date><dc:date>2021</dc:date>\n"
             "<dc:identifier opf:scheme=\"ISBN\">978-1</dc:identifier>\n"
             "<dc:identifier id=\"x\" foo=\"ECN\">ECN-9</dc:identifier>\n"
             "<dc:identifier id=\"uid\">urn:uuid:1</dc:identifier>\n"
             "<dc:type>만화</dc:type>\n"
             "<dc:language>EN-us</dc:language>\n"
             "<dc:subject>부제목</dc:subject><dc:subject></dc:subject>\n"
             "<dc:contributor opf:file-as=\"K\" opf:role=\"edt\">편집자</dc:contributor>\n"
             "<dc:contributor opf:role=\"trl\">번역자</dc:contributor>\n"
             "<dc:rights>저작권</dc:rights>\n"
             "<meta name=\"publishertel\" content=\"02-123\"/>\n"
             "<meta name=\"generator\" content=\"x\"/>\n"));

    EXPECT_EQ(row("제목"), QStringLiteral("첫 제목")); // each row shows the first of its kind
    EXPECT_EQ(row("저자"), QStringLiteral("홍길동"));
    EXPECT_EQ(row("출판사"), QStringLiteral("출판사A"));
    EXPECT_EQ(row("출판일"), QStringLiteral("2020"));
    EXPECT_EQ(row("ISBN"), QStringLiteral("978-1"));
    EXPECT_EQ(row("ECN"), QStringLiteral("ECN-9")); // any attribute names the scheme
    EXPECT_EQ(row("타입"), QStringLiteral("만화"));
    EXPECT_EQ(row("언어"), QStringLiteral("영어(EN)"));

    QStringList additional;
    for (int i = 0; i < grid.GetRowCount(1); ++i)
        additional << grid.GetRowName(1, i) + "=" + grid.GetRowValue(1, i) + "|" + grid.GetRowHelp(1, i);
    EXPECT_EQ(additional, (QStringList{
                              QStringLiteral("부제=부제목|출판물 내용에 대한 부제를 입력합니다."),
                              QStringLiteral("편집인=편집자|출판물의 편집자를 입력합니다."),
                              QStringLiteral("이용조건=저작권|도서의 이용조건을 입력합니다."),
                              QStringLiteral("출판사 전화번호=02-123|출판사의 전화번호를 입력합니다."),
                          }));
    EXPECT_TRUE(grid.IsGroupExpanded(1));
    EXPECT_FALSE(metadata.GetMetadataRecords().isEmpty());
}

TEST_F(PackageMetadataTest, LanguageLabelsFromTheFirstTwoLetters)
{
    const struct {
        const char* stored;
        const char* shown;
    } cases[] = {
        {"ko-KR", "한국어(KO)"}, {"EN-us", "영어(EN)"}, {"de", "독일(DE)"}, {"es-MX", "SPANISH(ES)"},
        {"ja", "일본어(JA)"},    {"zh-TW", "중국(ZH)"}, {" en\n", "영어(EN)"}, {"", "한국어(KO)"},
        // Languages the list lacks show as the book holds them, not as a listed one.
        {"fr", "fr"}, {"pt-BR", "pt-BR"},
    };
    for (const auto& c : cases) {
        BuildGrid(grid);
        load(opf(kDc, "<dc:language>" + QByteArray(c.stored) + "</dc:language>"));
        EXPECT_EQ(row("언어"), QString::fromUtf8(c.shown)) << c.stored;
    }
}

TEST_F(PackageMetadataTest, TheDublinCoreBindingInScopeOpensTheTable)
{
    const QByteArray dc = "xmlns:dc=\"http://purl.org/dc/elements/1.1/\"";
    const struct {
        const char* where;
        QByteArray packageAttributes;
        QByteArray metadataAttributes;
        QByteArray children;
    } cases[] = {
        {"on metadata, any prefix", "", "xmlns:purl=\"http://purl.org/dc/elements/1.1/\"",
         "<purl:title>T</purl:title><purl:creator>C</purl:creator><dc:creator>X</dc:creator>"
         "<purl:subject>S</purl:subject>"},
        {"on package", dc, "", "<dc:title>T</dc:title><dc:creator>C</dc:creator><dc:subject>S</dc:subject>"},
        // The nearest declaration wins, as in XML.
        {"on metadata over package", "xmlns:dc=\"urn:other\" xmlns:x=\"http://purl.org/dc/elements/1.1/\"", dc,
         "<dc:title>T</dc:title><dc:creator>C</dc:creator><x:creator>X</x:creator><dc:subject>S</dc:subject>"},
        {"on each dc element", "", "",
         "<dc:title " + dc + ">T</dc:title><dc:creator " + dc + ">C</dc:creator><dc:subject " + dc + ">S</dc:subject>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.where);
        BuildGrid(grid);
        load(opf(c.metadataAttributes, c.children, c.packageAttributes));
        EXPECT_EQ(row("제목"), QStringLiteral("T"));
        EXPECT_EQ(row("저자"), QStringLiteral("C"));
        EXPECT_EQ(RowValue(grid, 1, QStringLiteral("부제")), QStringLiteral("S"));
    }
}

// Books that bind the Dublin Core prefix on package or on each element (most books from
// large producers) keep their metadata through a save, and the "dc" names the saves
// write are bound wherever they land.
TEST_F(PackageMetadataTest, MetadataBoundOutsideTheMetadataElementSurvivesTheSave)
{
    const QByteArray dc = "xmlns:dc=\"http://purl.org/dc/elements/1.1/\"";
    const struct {
        const char* where;
        QByteArray packageAttributes;
        QByteArray children;
    } cases[] = {
        {"on package", dc, "<dc:title>Alice</dc:title><dc:creator>Carroll</dc:creator><dc:date>1865</dc:date>"},
        {"on each dc element", "",
         "<dc:title " + dc + ">Alice</dc:title><dc:creator " + dc + ">Carroll</dc:creator><dc:date " + dc
             + ">1865</dc:date>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.where);
        BuildGrid(grid);
        load(opf("", c.children + "<dc:language " + (c.packageAttributes.isEmpty() ? dc : "") + ">en</dc:language>",
                 c.packageAttributes));
        // A row the user sets makes a new element, bound to Dublin Core where it lands.
        grid.SetRowValue(0, grid.FindRow(0, QStringLiteral("출판사")), QStringLiteral("Macmillan"));
        const CXmlNode node = saveAndReload();
        EXPECT_EQ(texts(node, "dc:title"), QStringList{"Alice"});
        EXPECT_EQ(texts(node, "dc:creator"), QStringList{"Carroll"});
        EXPECT_EQ(texts(node, "dc:date"), QStringList{"1865"});
        EXPECT_EQ(texts(node, "dc:language"), QStringList{"en"}); // untouched: its exact text
        EXPECT_EQ(texts(node, "dc:publisher"), QStringList{"Macmillan"});
        EXPECT_TRUE(c.packageAttributes.isEmpty() == node.HasAttribute("xmlns:dc"));
        BuildGrid(grid);
        ASSERT_TRUE(document->Parse(path));
        metadata.LoadMetadata(document, path);
        EXPECT_EQ(row("제목"), QStringLiteral("Alice"));
        EXPECT_EQ(row("저자"), QStringLiteral("Carroll"));
    }
}

TEST_F(PackageMetadataTest, ATypeOutsideTheListShowsAsTheBookHoldsIt)
{
    load(opf(kDc, "<dc:type>Text</dc:type>"));
    EXPECT_EQ(row("타입"), QStringLiteral("Text"));
}

TEST_F(PackageMetadataTest, RequiredSaveEditsTheFirstElementOfEachKindInPlace)
{
    load(opf(kDc, "<dc:title>Old</dc:title><dc:creator opf:role=\"aut\">A</dc:creator>"
                  "<dc:date opf:event=\"publication\">1</dc:date><dc:date>2</dc:date>"
                  "<dc:format>text</dc:format><dc:language>en</dc:language>"));
    grid.SetRowValue(0, grid.FindRow(0, QStringLiteral("제목")), QStringLiteral("New & <title>"));
    grid.SetRowValue(0, grid.FindRow(0, QStringLiteral("출판일")), QStringLiteral("2024-02-29"));
    const CXmlNode node = saveAndReload();

    QStringList names;
    for (const CXmlNode& child : node.GetChildNodes()) {
        if (child.GetType() == CXmlNode::NODE_ELEMENT)
            names << child.GetName();
    }
    // Nothing moves, and rows the book lacks and the user left alone are not written.
    EXPECT_EQ(names, (QStringList{"dc:title", "dc:creator", "dc:date", "dc:date", "dc:format", "dc:language"}));
    EXPECT_EQ(texts(node, "dc:title"), QStringList{"New & <title>"});
    EXPECT_EQ(texts(node, "dc:date"), (QStringList{"2024-02-29", "2"}));
    EXPECT_EQ(node.GetElementsByTagName("dc:date").first().GetAttribute("opf:event"), QStringLiteral("publication"));
    EXPECT_EQ(node.GetElementsByTagName("dc:creator").first().GetAttribute("opf:role"), QStringLiteral("aut"));
    EXPECT_EQ(texts(node, "dc:language"), QStringList{"en"});

    // A cleared row removes its element; a date outside the W3C forms is not written.
    BuildGrid(grid);
    ASSERT_TRUE(document->Parse(path));
    metadata.LoadMetadata(document, path);
    grid.SetRowValue(0, grid.FindRow(0, QStringLiteral("저자")), QString());
    grid.SetRowValue(0, grid.FindRow(0, QStringLiteral("출판일")), QStringLiteral("24-02-29"));
    const CXmlNode cleared = saveAndReload();
    EXPECT_TRUE(texts(cleared, "dc:creator").isEmpty());
    EXPECT_EQ(texts(cleared, "dc:date"), (QStringList{"2024-02-29", "2"}));
    EXPECT_EQ(metadata.GetRejectedValues().size(), 1);
}

TEST_F(PackageMetadataTest, EveryLanguageChoiceIsWrittenAsItsCode)
{
    const struct {
        const char* label;
        const char* written;
    } cases[] = {
        {"독일어(DE)", "DE"}, {"스페인어(ES)", "ES"}, // the grid's own spellings
        {"독일(DE)", "DE"},   {"SPANISH(ES)", "ES"},  {"한국어(KO)", "KO"},
        {"네델란드(NL)", "NL"}, {"fr-CA", "fr-CA"},   // not a label: written unchanged
    };
    for (const auto& c : cases) {
        BuildGrid(grid);
        load(opf(kDc, "<dc:language>en</dc:language>"));
        grid.SetRowValue(0, grid.FindRow(0, QStringLiteral("언어")), QString::fromUtf8(c.label));
        EXPECT_EQ(texts(saveAndReload(), "dc:language"), QStringList{QString::fromUtf8(c.written)}) << c.label;
    }
}

TEST_F(PackageMetadataTest, IdentifiersAreReplacedByTheRuleThatShowsThem)
{
    load(opf(kDc,
             "<dc:identifier id=\"isbn-id\" opf:scheme=\"ISBN\">111</dc:identifier>\n"
             "<dc:identifier opf:scheme=\"ECN\">222</dc:identifier>\n"
             "<dc:identifier id=\"uid\">urn:uuid:1</dc:identifier>\n"
             "<dc:Identifier opf:scheme=\"ISBN\">capital</dc:Identifier>\n"
             "<dc:identifier opf:scheme=\"DOI\">10.1/x</dc:identifier>\n",
             "unique-identifier=\"uid\""));
    EXPECT_EQ(row("ISBN"), QStringLiteral("111"));
    grid.SetRowValue(0, grid.FindRow(0, QStringLiteral("ISBN")), QStringLiteral("333"));

    for (int save = 0; save < 3; ++save) {
        const CXmlNode node = saveAndReload();
        // The ISBN is edited in place; every other identifier stays as it was.
        EXPECT_EQ(texts(node, "dc:identifier"), (QStringList{"333", "222", "urn:uuid:1", "10.1/x"}));
        EXPECT_EQ(node.GetElementsByTagName("dc:identifier").first().GetAttribute("id"), QStringLiteral("isbn-id"));
        EXPECT_EQ(texts(node, "dc:Identifier"), QStringList{"capital"});
        ASSERT_TRUE(document->Parse(path));
        BuildGrid(grid);
        metadata.LoadMetadata(document, path);
        EXPECT_EQ(row("ISBN"), QStringLiteral("333"));
    }
}

// Without any Dublin Core binding the grid shows only its initial values; saving them
// would replace the book's own metadata, so the saves leave the element as it is.
TEST_F(PackageMetadataTest, MetadataWithoutAnyDublinCoreBindingIsShownNowhereAndStays)
{
    const QByteArray children = "<dc:identifier id=\"book-id\" opf:scheme=\"ISBN\">978-3</dc:identifier>"
                                "<dc:title>Real</dc:title><dc:subject>S</dc:subject>";
    load(opf("xmlns:opf=\"http://www.idpf.org/2007/opf\"", children, "unique-identifier=\"book-id\""));
    EXPECT_EQ(row("ISBN"), QStringLiteral("ISBN"));
    EXPECT_EQ(row("제목"), QStringLiteral("제목"));
    grid.AddRow(1, QStringLiteral("설명"), QStringLiteral("D"), QString());
    for (int save = 0; save < 2; ++save) {
        const CXmlNode node = saveAndReload();
        const CXmlNodeList identifiers = node.GetElementsByTagName("dc:identifier");
        ASSERT_EQ(identifiers.size(), 1);
        EXPECT_EQ(identifiers[0].GetAttribute("id"), QStringLiteral("book-id"));
        EXPECT_EQ(identifiers[0].GetTextContent(), QStringLiteral("978-3"));
        EXPECT_EQ(texts(node, "dc:title"), QStringList{"Real"});
        EXPECT_EQ(texts(node, "dc:subject"), QStringList{"S"});
        EXPECT_TRUE(texts(node, "dc:description").isEmpty());
    }
}

TEST_F(PackageMetadataTest, AnIsbnThatIsTheUniqueIdentifierKeepsItsIdAndIsNeverRemoved)
{
    load(opf(kDc, "<dc:identifier id=\"book-id\" opf:scheme=\"ISBN\">111</dc:identifier>",
             "unique-identifier=\"book-id\""));
    grid.SetRowValue(0, grid.FindRow(0, QStringLiteral("ISBN")), QStringLiteral("222"));
    CXmlNodeList identifiers = saveAndReload().GetElementsByTagName("dc:identifier");
    ASSERT_EQ(identifiers.size(), 1);
    EXPECT_EQ(identifiers[0].GetAttribute("id"), QStringLiteral("book-id"));
    EXPECT_EQ(identifiers[0].GetAttribute("opf:scheme"), QStringLiteral("ISBN"));
    EXPECT_EQ(identifiers[0].GetTextContent(), QStringLiteral("222"));

    BuildGrid(grid);
    ASSERT_TRUE(document->Parse(path));
    metadata.LoadMetadata(document, path);
    grid.SetRowValue(0, grid.FindRow(0, QStringLiteral("ISBN")), QString());
    identifiers = saveAndReload().GetElementsByTagName("dc:identifier");
    ASSERT_EQ(identifiers.size(), 1);
    EXPECT_EQ(identifiers[0].GetTextContent(), QStringLiteral("222"));
}

TEST_F(PackageMetadataTest, OptionalSaveReplacesWhatItShowsAndNothingElse)
{
    load(opf(kDc,
             "<dc:subject>S</dc:subject><dc:subject></dc:subject>\n"
             "<dc:contributor opf:role=\"aut\">Writer</dc:contributor>\n"
             "<dc:contributor opf:file-as=\"E\" opf:role=\"edt\">Editor</dc:contributor>\n"
             "<dc:description>D</dc:description>\n"
             "<meta name=\"generator\" content=\"G\"/>\n"
             "<meta name=\"publisheraddr\" content=\"Seoul\"/>\n"
             "<meta name=\"publishertel\" content=\"1\" scheme=\"tel\"/>\n"));
    ASSERT_EQ(grid.GetRowCount(1), 4); // 부제, 편집인, 설명, 출판사 주소
    grid.SetRowValue(1, grid.FindRow(1, QStringLiteral("설명")), QStringLiteral("D2"));
    grid.AddRow(1, QStringLiteral("디자인"), QStringLiteral("Designer"), QString());
    grid.AddRow(1, QStringLiteral("unknown row"), QStringLiteral("ignored"), QString());

    for (int save = 0; save < 2; ++save) {
        const CXmlNode node = saveAndReload();
        EXPECT_EQ(texts(node, "dc:subject"), (QStringList{"S", ""})); // shown nowhere, kept
        EXPECT_EQ(texts(node, "dc:description"), QStringList{"D2"});
        EXPECT_EQ(texts(node, "dc:contributor"), (QStringList{"Writer", "Editor", "Designer"}));
        const CXmlNodeList contributors = node.GetElementsByTagName("dc:contributor");
        EXPECT_EQ(contributors[1].GetAttribute("opf:role"), QStringLiteral("edt"));
        EXPECT_EQ(contributors[2].GetAttribute("opf:role"), QStringLiteral("dsr"));
        QStringList metas;
        for (const CXmlNode& meta : node.GetElementsByTagName("meta"))
            metas << meta.GetAttribute("name") + "=" + meta.GetAttribute("content");
        // A meta the grid does not show (an extra attribute hides it) is not lost.
        EXPECT_EQ(metas, (QStringList{"generator=G", "publisheraddr=Seoul", "publishertel=1"}));
        ASSERT_TRUE(document->Parse(path));
        BuildGrid(grid);
        metadata.LoadMetadata(document, path);
    }
}

TEST_F(PackageMetadataTest, SavesWithoutMetadataElementWriteNothing)
{
    const QByteArray bytes = "<package xmlns=\"http://www.idpf.org/2007/opf\"><other:metadata/></package>";
    load(bytes);
    EXPECT_FALSE(metadata.SaveRequiredMetadata());
    EXPECT_FALSE(metadata.SaveOptionalMetadata());
    EXPECT_EQ(ReadFile(path), bytes);
}

TEST_F(PackageMetadataTest, PrefixedPackageIsReadAndWritten)
{
    load("<opf:package xmlns:opf=\"http://www.idpf.org/2007/opf\"><opf:metadata " + kDc
         + "><dc:title>T</dc:title></opf:metadata></opf:package>");
    EXPECT_EQ(row("제목"), QStringLiteral("T"));
    grid.SetRowValue(0, 0, QStringLiteral("T2"));
    EXPECT_TRUE(metadata.SaveRequiredMetadata());
    EXPECT_TRUE(ReadFile(path).contains("<dc:title>T2</dc:title>"));
}

TEST_F(PackageMetadataTest, SchemeAndRoleUseThePrefixBoundToThePackageVocabulary)
{
    const struct {
        QByteArray metadataAttributes;
        QByteArray packageAttributes;
        const char* scheme;
        const char* role;
        bool declared; // "opf" newly declared on metadata
    } cases[] = {
        {kDc, "", "opf:scheme", "opf:role", false},
        {"xmlns:dc=\"http://purl.org/dc/elements/1.1/\"", "xmlns:pk=\"http://www.idpf.org/2007/opf\"", "pk:scheme", "pk:role", false},
        {"xmlns:dc=\"http://purl.org/dc/elements/1.1/\"", "", "opf:scheme", "opf:role", true},
    };
    for (const auto& c : cases) {
        BuildGrid(grid);
        load(opf(c.metadataAttributes, "<dc:title>T</dc:title>", c.packageAttributes));
        grid.SetRowValue(0, grid.FindRow(0, QStringLiteral("ISBN")), QStringLiteral("978"));
        grid.AddRow(1, QStringLiteral("편집인"), QStringLiteral("E"), QString());
        const CXmlNode node = saveAndReload();
        EXPECT_EQ(node.GetElementsByTagName("dc:identifier").first().GetAttribute(c.scheme), QStringLiteral("ISBN")) << c.scheme;
        EXPECT_EQ(node.GetElementsByTagName("dc:contributor").first().GetAttribute(c.role), QStringLiteral("edt"));
        EXPECT_EQ(node.GetAttribute("xmlns:opf") == QLatin1String("http://www.idpf.org/2007/opf"), c.declared || c.metadataAttributes == kDc);
    }
}
