// The metadata grid and the navigation tree that lindar-cli shows, on the corpus and on new books.
#include "cli/BookJson.h"
#include "cli/BookSession.h"
#include "package/ePubContainerFormat.h"
#include "platform/core/MessageBox.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>

#include "cli/tests/CliRunner.h"

#include <gtest/gtest.h>

namespace {

const QString kCorpus = corpusFolder();

// The NCX is not well-formed XML only because of a bare "&" in a label, which the XML
// reader accepts: the table of contents is shown although the description has none.
const QString kLenientNcx = QStringLiteral("gutenberg-alice-ncx-broken.epub");

QJsonObject info(const QString& book)
{
    const CliRun run = runCli({"info", book});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    return QJsonDocument::fromJson(run.out).object();
}

QByteArray member(const QString& archive, const QString& name)
{
    QProcess unzip;
    unzip.start("unzip", {"-p", archive, name});
    unzip.waitForFinished(60000);
    return unzip.readAllStandardOutput();
}

QString rowValue(const QJsonArray& rows, const QString& name)
{
    for (const QJsonValue& row : rows) {
        if (row.toArray().at(0).toString() == name)
            return row.toArray().at(1).toString();
    }
    return QStringLiteral("<none>");
}

QString languageLabel(const QString& stored)
{
    static const QList<std::pair<QString, QString>> labels = {
        {"en", "영어(EN)"}, {"de", "독일(DE)"}, {"es", "SPANISH(ES)"}, {"bo", "티벳(BO)"}, {"ja", "일본어(JA)"},
        {"la", "라틴(LA)"}, {"hu", "헝가리(HU)"}, {"nl", "네델란드(NL)"}, {"zh", "중국(ZH)"}};
    for (const auto& [prefix, label] : labels) {
        if (stored.left(2).toLower() == prefix)
            return label;
    }
    return QStringLiteral("한국어(KO)");
}

// The last identifier with an attribute of this value, as the grid row shows it.
// The identifier a row shows: the first whose attributes name the scheme (in any case).
// One that names ISBN counts as the ISBN, whatever else it names.
QString identifierFor(const QJsonArray& identifiers, const QString& scheme, const QString& fallback)
{
    for (const QJsonValue& identifier : identifiers) {
        bool named = false;
        bool isbn = false;
        for (const QJsonValue& value : identifier.toObject().value("attrs").toObject()) {
            named = named || value.toString().compare(scheme, Qt::CaseInsensitive) == 0;
            isbn = isbn || value.toString().compare("ISBN", Qt::CaseInsensitive) == 0;
        }
        if (named && (scheme == "ISBN" || !isbn))
            return identifier.toObject().value("text").toString();
    }
    return fallback;
}

// Entries of the navigation tree in pre-order, as "label>source".
void flattenTree(const QJsonArray& items, QStringList& out)
{
    for (const QJsonValue& value : items) {
        const QJsonObject item = value.toObject();
        const QJsonArray children = item.value("children").toArray();
        if (item.value("image").toInt() == 1) {
            const QJsonObject first = children.at(0).toObject();
            out << item.value("text").toString().trimmed() + ">"
                    + (first.value("image").toInt() == 2 ? first.value("text").toString() : QString());
        }
        flattenTree(children, out);
    }
}

void flattenExpected(const QJsonArray& points, QStringList& out)
{
    for (const QJsonValue& value : points) {
        const QJsonArray point = value.toArray();
        out << point.at(0).toString() + ">" + point.at(1).toString();
        flattenExpected(point.at(3).toArray(), out);
    }
}

} // namespace

TEST(BookModelCli, CorpusMetadataAndNavigationAgreeWithTheirDescription)
{
    QFile file(kCorpus + "/expected.json");
    if (!file.exists())
        GTEST_SKIP() << "no corpus at " << kCorpus.toStdString();
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QJsonObject books = QJsonDocument::fromJson(file.readAll()).object();
    books.remove("_about");
    int compared = 0;
    for (auto it = books.begin(); it != books.end(); ++it) {
        const QJsonObject book = it.value().toObject();
        if (!book.value("accepted").toBool())
            continue;
        SCOPED_TRACE(it.key().toStdString());
        // In-process through the same session and JSON as `lindar-cli info`, to keep this fast.
        cli::BookSession session;
        const bool opened = session.open(kCorpus + "/" + it.key());
        const QJsonObject json = cli::describeBook(session, it.key(), opened);
        if (!opened)
            continue;
        ++compared;
        const QJsonArray required = json.value("grid").toObject().value("required").toArray();

        const bool packageRead = book.value("opf_rootfile_media_type_ok").toBool() && book.value("opf_root").isString();
        const QJsonArray titles = book.value("titles").toArray();
        const QJsonArray languages = book.value("languages").toArray();
        const QJsonArray identifiers = book.value("identifiers").toArray();
        // Each row shows the first element of its kind.
        const QString title = packageRead && !titles.isEmpty() ? titles.first().toString() : QStringLiteral("제목");
        EXPECT_EQ(rowValue(required, "제목"), title);
        EXPECT_EQ(rowValue(required, "언어"),
                  packageRead && !languages.isEmpty() ? languageLabel(languages.first().toString()) : QStringLiteral("한국어(KO)"));
        EXPECT_EQ(rowValue(required, "ISBN"), packageRead ? identifierFor(identifiers, "ISBN", "ISBN") : QStringLiteral("ISBN"));
        EXPECT_EQ(rowValue(required, "ECN"), packageRead ? identifierFor(identifiers, "ECN", "ECN") : QStringLiteral("ECN"));
        if (!packageRead)
            EXPECT_TRUE(json.value("grid").toObject().value("additional").toArray().isEmpty());

        QStringList expectedEntries;
        if (packageRead)
            flattenExpected(book.value("navmap").toArray(), expectedEntries);
        QStringList entries;
        const QJsonArray navigation = json.value("trees").toObject().value("navigation").toArray();
        flattenTree(navigation, entries);
        if (it.key() == kLenientNcx)
            EXPECT_EQ(entries.size(), 14);
        else
            EXPECT_EQ(entries.join('|').toStdString(), expectedEntries.join('|').toStdString());
        // The title item heads the tree whenever the book has a title and a navMap.
        if (!expectedEntries.isEmpty() && !title.isEmpty()) {
            ASSERT_EQ(navigation.size(), 1);
            EXPECT_EQ(navigation.at(0).toObject().value("text").toString(), title);
            EXPECT_EQ(navigation.at(0).toObject().value("image").toInt(), 0);
        }
    }
    EXPECT_GT(compared, 40);
}

TEST(BookModelCli, SavedCorpusBooksShowTheSameGridAndNavigation)
{
    if (!QDir(kCorpus).exists())
        GTEST_SKIP() << "no corpus at " << kCorpus.toStdString();
    QTemporaryDir out;
    platform::ScriptedMessageBoxes messages; // refused books answer here instead of on stderr
    platform::ScopedMessageBoxBackend scoped(&messages);
    const QStringList books = QDir(kCorpus).entryList({"*.epub"}, QDir::Files, QDir::Name);
    int saved = 0;
    for (const QString& name : books) {
        SCOPED_TRACE(name.toStdString());
        QJsonObject before;
        {
            cli::BookSession session;
            if (!session.open(kCorpus + "/" + name))
                continue;
            before = cli::describeBook(session, name, true);
            session.savePackageFiles();
            ASSERT_TRUE(session.saveAs(out.filePath(name)));
        }
        cli::BookSession session;
        ASSERT_TRUE(session.open(out.filePath(name)));
        const QJsonObject after = cli::describeBook(session, name, true);
        EXPECT_EQ(after.value("grid"), before.value("grid"));
        EXPECT_EQ(after.value("trees").toObject().value("navigation"),
                  before.value("trees").toObject().value("navigation"));
        ++saved;
    }
    EXPECT_GT(saved, 40);
}

// Books that bind the Dublin Core prefix on package or on each dc element, and an NCX with
// prefixed elements but plain attributes: `resave` keeps their title, author and sources.
TEST(BookModelCli, ResavedBooksKeepTitleCreatorAndNavigationSources)
{
    QFile file(kCorpus + "/expected.json");
    if (!file.exists())
        GTEST_SKIP() << "no corpus at " << kCorpus.toStdString();
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QJsonObject books = QJsonDocument::fromJson(file.readAll()).object();
    QTemporaryDir out;
    for (const QString name : {"connexions-hpc.epub", "gutenberg-alice-2010.epub", "epublib-testbook1.epub"}) {
        SCOPED_TRACE(name.toStdString());
        const QJsonObject book = books.value(name).toObject();
        const QString saved = out.filePath(name);
        const CliRun resave = runCli({"resave", kCorpus + "/" + name, saved});
        ASSERT_EQ(resave.exitCode, 0) << resave.err.toStdString();
        const QJsonObject reopened = info(saved);
        const QJsonArray required = reopened.value("grid").toObject().value("required").toArray();
        EXPECT_EQ(rowValue(required, "제목"), book.value("titles").toArray().first().toString());
        EXPECT_EQ(rowValue(required, "저자"), book.value("creators").toArray().first().toObject().value("text").toString());
        QStringList expected;
        flattenExpected(book.value("navmap").toArray(), expected);
        QStringList entries;
        flattenTree(reopened.value("trees").toObject().value("navigation").toArray(), entries);
        EXPECT_EQ(entries, expected);
    }
}

TEST(BookModelCli, NewBooksAndTheirMetadataEdits)
{
    QTemporaryDir out;
    const QString fresh = out.filePath("fresh.epub");
    ASSERT_EQ(runCli({"new", fresh}).exitCode, 0);
    const QJsonObject made = info(fresh);
    EXPECT_TRUE(made.value("firstDocument").toString().endsWith("/fresh/OEBPS/ch01.xhtml"));
    const QJsonObject grid = made.value("grid").toObject();
    // The skeleton's placeholder texts were dropped by the save that wrote the book.
    EXPECT_EQ(rowValue(grid.value("required").toArray(), "제목"), QStringLiteral("제목"));
    EXPECT_EQ(grid.value("additional").toArray(), QJsonArray());

    // Nested entries A (A1, A2) and B, with the numbering of another tool.
    QTemporaryDir unpacked;
    ASSERT_EQ(QProcess::execute("unzip", {"-q", fresh, "-d", unpacked.path()}), 0);
    const QString ncxPath = unpacked.filePath("OEBPS/toc.ncx");
    QByteArray ncx = member(fresh, "OEBPS/toc.ncx");
    const qsizetype start = ncx.indexOf("<navMap>");
    const qsizetype end = ncx.indexOf("</navMap>") + 9;
    ncx.replace(start, end - start,
                "<navMap><navPoint id=\"x\" playOrder=\"7\"><navLabel><text>A</text></navLabel><content src=\"ch01.xhtml\"/>"
                "<navPoint id=\"y\" playOrder=\"3\"><navLabel><text>A1</text></navLabel><content src=\"ch02.xhtml\"/></navPoint>"
                "<navPoint id=\"z\" playOrder=\"9\"><navLabel><text>A2</text></navLabel><content src=\"ch03.xhtml\"/></navPoint>"
                "</navPoint><navPoint id=\"w\" playOrder=\"1\"><navLabel><text>B</text></navLabel><content src=\"ch04.xhtml\"/></navPoint></navMap>");
    QFile ncxFile(ncxPath);
    ASSERT_TRUE(ncxFile.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ncxFile.write(ncx);
    ncxFile.close();
    const QString nested = out.filePath("nested.epub");
    QProcess zip;
    zip.setWorkingDirectory(unpacked.path());
    ASSERT_EQ((zip.start("zip", {"-X0q", nested, "mimetype"}), zip.waitForFinished(), zip.exitCode()), 0);
    ASSERT_EQ((zip.start("zip", {"-Xrq9", nested, ".", "-x", "mimetype"}), zip.waitForFinished(), zip.exitCode()), 0);

    const QString edited = out.filePath("edited.epub");
    const CliRun resave = runCli({"resave", nested, edited, "--set", "제목=어린 왕자", "--set", "저자=생텍쥐페리",
                                  "--set", "언어=영어(EN)", "--set", "편집인=김편집"});
    ASSERT_EQ(resave.exitCode, 0) << resave.err.toStdString();

    const QString opf = QString::fromUtf8(member(edited, "OEBPS/content.opf"));
    EXPECT_TRUE(opf.contains("<dc:title>어린 왕자</dc:title>"));
    EXPECT_TRUE(opf.contains("<dc:creator>생텍쥐페리</dc:creator>"));
    EXPECT_TRUE(opf.contains("<dc:language>EN</dc:language>"));
    EXPECT_TRUE(opf.contains("<dc:contributor opf:role=\"edt\">김편집</dc:contributor>"));
    EXPECT_TRUE(opf.contains("<dc:identifier id=\"EPB-UUID\">")); // the unique identifier stays
    const QString written = QString::fromUtf8(member(edited, "OEBPS/toc.ncx"));
    EXPECT_TRUE(written.contains("<docTitle>\n        <text>어린 왕자</text>"));
    EXPECT_TRUE(written.contains("<docAuthor>\n        <text>생텍쥐페리</text>"));
    // The table of contents was not edited, so it keeps the other tool's ids and numbers.
    EXPECT_TRUE(written.contains(
        "<navMap><navPoint id=\"x\" playOrder=\"7\"><navLabel><text>A</text></navLabel><content src=\"ch01.xhtml\"/>"
        "<navPoint id=\"y\" playOrder=\"3\"><navLabel><text>A1</text></navLabel><content src=\"ch02.xhtml\"/></navPoint>"
        "<navPoint id=\"z\" playOrder=\"9\"><navLabel><text>A2</text></navLabel><content src=\"ch03.xhtml\"/></navPoint>"
        "</navPoint><navPoint id=\"w\" playOrder=\"1\"><navLabel><text>B</text></navLabel><content src=\"ch04.xhtml\"/></navPoint></navMap>"))
        << written.toStdString();

    // Opening the result shows the edits.
    const QJsonObject reopened = info(edited);
    const QJsonObject reopenedGrid = reopened.value("grid").toObject();
    EXPECT_EQ(rowValue(reopenedGrid.value("required").toArray(), "제목"), QStringLiteral("어린 왕자"));
    EXPECT_EQ(rowValue(reopenedGrid.value("required").toArray(), "저자"), QStringLiteral("생텍쥐페리"));
    EXPECT_EQ(rowValue(reopenedGrid.value("required").toArray(), "언어"), QStringLiteral("영어(EN)"));
    EXPECT_EQ(rowValue(reopenedGrid.value("additional").toArray(), "편집인"), QStringLiteral("김편집"));
    QStringList entries;
    flattenTree(reopened.value("trees").toObject().value("navigation").toArray(), entries);
    EXPECT_EQ(entries, (QStringList{"A>ch01.xhtml", "A1>ch02.xhtml", "A2>ch03.xhtml", "B>ch04.xhtml"}));
    // Play order 1 is B's.
    EXPECT_EQ(reopened.value("firstDocument").toString().section('/', -2), QStringLiteral("OEBPS/ch04.xhtml"));
}

TEST(BookModelCli, SetRejectsUnknownRowsAndValuesOutsideTheChoices)
{
    const QList<QStringList> cases = {
        {"resave", "a.epub", "b.epub", "--set", "nonsense=1"},
        {"resave", "a.epub", "b.epub", "--set", "언어=Klingon"},
        {"resave", "a.epub", "b.epub", "--set", "제목"},
        {"resave", "a.epub", "b.epub", "--set"},
        {"new"},
    };
    for (const QStringList& arguments : cases) {
        const CliRun run = runCli(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_FALSE(run.err.isEmpty());
    }
}
