// The template chooser as the editor runs it: at start-up and for the new-file command,
// with the templates made by the build beside the test program.
#include "EditorFixture.h"

#include "editor/BookPanes.h"
#include "editor/CommandIds.h"
#include "platform/core/KnownFolders.h"
#include "platform/ui/QtPropertyGrid.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

namespace {

using platform::MessageResult;

// The style of `name` as the control's style list holds it, exported through the view.
QString exportedStyleLine(CLindarView& view, const QString& scratchFile, const QString& name)
{
    view.ExportStyleTemplate(scratchFile);
    QFile file(scratchFile);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    for (const QByteArray& line : file.readAll().split('\n'))
        if (line.contains("nameEng=\"" + name.toUtf8() + "\""))
            return QString::fromUtf8(line.trimmed());
    return QString();
}

} // namespace

// Start-up: "기존 전자책(ePub) 문서 열기" runs the open command.
class StartupChooserOpens : public FakeEditorFixture {
protected:
    void BeforeStartup() override
    {
        m_book = SimpleBook("chosen.epub");
        m_modal.enqueue(platform::DialogAnswer::Press("확인", {{"radio1008", true}}));
        m_dialogs.enqueue(m_book);
    }
    QString m_book;
};

TEST_F(StartupChooserOpens, TheOpenDialogComesAndTheBookOpens)
{
    ASSERT_EQ(m_dialogs.asked().size(), 1);
    EXPECT_EQ(m_dialogs.asked().at(0).kind, platform::FileDialogRequest::Kind::Open);
    ASSERT_NE(Doc(), nullptr);
    EXPECT_EQ(Doc()->m_strFileName, QFileInfo(m_book).absoluteFilePath());
    EXPECT_FALSE(m_app->m_bFromTemplate);
    for (const platform::MessageRequest& box : m_boxes.asked())
        EXPECT_NE(box.caption, "Error") << box.text.toStdString();
}

// A new book from a template, saved with a title and an author.
class TemplateBookFixture : public EditorFixture {
protected:
    // Types a line into the open chapter, so that it is written back, and saves the new book
    // under `path`; with KVX_TEMPLATE_BOOKS_OUT set the book is kept there too
    // (scripts/epubcheck-template-books.sh).
    void TypeAndSave(const QString& path, const QString& title)
    {
        QTest::keyClicks(Doc()->m_pCtrl->GetControl()->widget(), QStringLiteral("Typed into the template's book. "));
        platform::QtPropertyGrid& grid = *Frame().Panes().PropertyGrid();
        grid.SetRowValue(0, grid.FindRow(0, QStringLiteral("제목")), title);
        grid.SetRowValue(0, grid.FindRow(0, QStringLiteral("저자")), QStringLiteral("김작가"));
        m_dialogs.enqueue(path);
        Frame().OnCommand(cmd::SaveBook);
        ProcessPosted();
        const QString keep = qEnvironmentVariable("KVX_TEMPLATE_BOOKS_OUT");
        if (!keep.isEmpty()) {
            const QString copy = keep + QLatin1Char('/') + QFileInfo(path).fileName();
            QFile::remove(copy);
            QFile::copy(path, copy);
        }
    }
};

using StartupWithABook = FakeEditorFixture;

TEST_F(StartupWithABook, ABookOnTheCommandLineComesInsteadOfTheChooser)
{
    Frame().m_bClosing = true;
    m_app.reset();
    m_app = std::make_unique<CLindarApp>();
    ASSERT_TRUE(m_app->InitInstance({"lindar", SimpleBook("given.epub")}));
    EXPECT_TRUE(m_modal.asked().isEmpty());
    EXPECT_EQ(Doc(), nullptr) << "the book opens after start-up, from the event loop";
}

// Start-up: the second thumbnail, "소설 기본 템플릿1", makes a new book with its styles.
class StartupChooserTemplate : public TemplateBookFixture {
protected:
    void BeforeStartup() override
    {
        m_modal.enqueue(platform::DialogAnswer::Press("확인", {{"list1006", 1}}));
    }
};

TEST_F(StartupChooserTemplate, NewBookOpensItsFirstChapterWithTheTemplatesStyles)
{
    const QString templates = platform::ProgramDataFolder(QStringLiteral("template"));
    ASSERT_EQ(m_app->m_strTemplatePath, templates + "/02_novel.tdt");
    EXPECT_TRUE(m_app->m_bFromTemplate);
    ASSERT_NE(Doc(), nullptr);
    ASSERT_NE(View(), nullptr);
    EXPECT_TRUE(View()->m_strChapterPath.endsWith("/ch01.xhtml")) << View()->m_strChapterPath.toStdString();
    EXPECT_EQ(m_app->m_strStyleFile, templates + "/02_novel.sty");
    EXPECT_TRUE(QFile::exists(m_app->m_strStyleFile));
    EXPECT_TRUE(m_boxes.asked().isEmpty()) << "a template book asks no style question";

    // The novel's body: a serif face, its first lines indented.
    const QString body = exportedStyleLine(*View(), Scratch("now.sty"), "Body");
    EXPECT_TRUE(body.contains("font=\"NanumMyeongjo\"")) << body.toStdString();
    EXPECT_TRUE(body.contains("indentation=\"1000\"")) << body.toStdString();

    const QString book = Scratch("novel1.epub");
    TypeAndSave(book, QStringLiteral("소설 한 편"));
    ASSERT_TRUE(QFile::exists(book));
    const QByteArray opf = ReadMember(book, "OEBPS/content.opf");
    EXPECT_TRUE(opf.contains("<dc:title>소설 한 편</dc:title>")) << opf.constData();
    EXPECT_TRUE(opf.contains("김작가"));
    EXPECT_TRUE(ReadMember(book, "OEBPS/ch01.xhtml").contains("Typed into the template's book."));
}

// Command 32772 with each delivered template, a book open each time.
using NewFileCommand = TemplateBookFixture;

TEST_F(NewFileCommand, EachTemplateGivesABookWithItsOwnStyles)
{
    const struct {
        const char* title;
        const char* bodyFont;
        const char* bodySize;
    } cases[] = {
        {"01_vendara_basic_template", "NanumGothic", "10"}, {"02_novel", "NanumMyeongjo", "10.5"},
        {"03_novel", "NanumBarunGothic", "10"},             {"04_novel_large", "NanumMyeongjo", "13"},
        {"05_novel_large", "NanumBarunGothic", "14"},
    };
    for (int row = 0; row < 5; ++row) {
        const auto& c = cases[row];
        SCOPED_TRACE(c.title);
        if (Doc())
            m_boxes.enqueue(MessageResult::No); // "epub 파일을 저장하시겠습니까?"
        m_modal.enqueue(platform::DialogAnswer::Press("확인", {{"list1006", row}}));
        Frame().OnCommand(cmd::NewFile);
        ASSERT_EQ(QFileInfo(m_app->m_strTemplatePath).fileName(), QString(c.title) + ".tdt");
        ASSERT_NE(View(), nullptr);
        const QString body = exportedStyleLine(*View(), Scratch("now.sty"), "Body");
        EXPECT_TRUE(body.contains(QString("font=\"%1\"").arg(c.bodyFont))) << body.toStdString();
        EXPECT_TRUE(body.contains(QString("size=\"%1\"").arg(c.bodySize))) << body.toStdString();
        TypeAndSave(Scratch(QString(c.title) + ".epub"), QString::fromUtf8("템플릿 책 %1").arg(row + 1));
        EXPECT_TRUE(QFile::exists(Scratch(QString(c.title) + ".epub")));
    }
    ASSERT_EQ(m_modal.asked().size(), 5);
    EXPECT_EQ(m_modal.asked().at(0).name, "CSelectEBOOKTemplate");
    EXPECT_EQ(m_modal.asked().at(0).title, "Tolvo maker 편집툴");

    // Cancel creates nothing and keeps the open book.
    CLindarDoc* open = Doc();
    m_modal.enqueue(platform::DialogAnswer::Cancel());
    Frame().OnCommand(cmd::NewFile);
    EXPECT_EQ(Doc(), open);
}
