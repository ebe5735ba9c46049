#include "EditorFixture.h"
#include "FakeTdxControl.h"

#include "editor/BookPanes.h"
#include "platform/ui/QtTreeControl.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

using platform::MessageResult;

namespace {

const QString kStyleQuestion = QStringLiteral("기존문서의 스타일을 사용하시겠습니까?");

bool writeFile(const QString& path, const QByteArray& data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

} // namespace

class ChapterView : public FakeEditorFixture {
protected:
    // A book whose first chapter shows pic1 and whose second shows pic2 inside a div.
    void OpenPictureBook()
    {
        TestBookSpec layout;
        layout.chapters = {
            {"ch1.xhtml", "<p><img src=\"images/pic1.png\" alt=\"\"/></p>", "One"},
            {"ch2.xhtml", "<div><p><img src=\"images/pic2.png\" alt=\"\"/></p></div>", "Two"},
        };
        layout.pictures = {"pic1.png", "pic2.png", "pic3.png"};
        ASSERT_NE(m_app->OpenBookFile(WriteTestBook(Scratch(""), "pictures.epub", layout)), nullptr);
        m_images = Doc()->GetPackageFolder() + "images/";
    }

    QString m_images;
};

TEST_F(ChapterView, OpeningAnotherChapterWritesTheOpenOneBackFirstWhenItWasChanged)
{
    ASSERT_NE(m_app->OpenBookFile(SimpleBook("switch.epub")), nullptr);
    const QString folder = Doc()->GetPackageFolder();
    EXPECT_EQ(View()->m_strChapterPath, folder + "ch1.xhtml");
    // Unchanged, it is not written at all.
    Fake()->log.clear();
    View()->OpenChapter(folder + "ch2.xhtml", QString());
    EXPECT_TRUE(Fake()->log.filter("saveAs|").isEmpty()) << Fake()->log.join('\n').toStdString();
    EXPECT_FALSE(View()->m_bUnsaved);
    View()->OpenChapter(folder + "ch1.xhtml", QString());

    Fake()->modified = true;
    Fake()->log.clear();
    View()->OpenChapter(folder + "ch2.xhtml", QString());
    const QString save = "saveAs|" + folder + "ch1.xhtml|XHTML|imagePath:images;textunit:em;";
    const qsizetype saved = Fake()->log.indexOf(save);
    ASSERT_GE(saved, 0) << Fake()->log.join('\n').toStdString();
    const qsizetype opened = Fake()->log.indexOf(QRegularExpression("^open\\|" + QRegularExpression::escape(folder)
                                                                    + "ch2\\.xhtml\\|HTML\\|.*"));
    EXPECT_GT(opened, saved);
    EXPECT_EQ(View()->m_strChapterPath, folder + "ch2.xhtml");
    EXPECT_EQ(Doc()->GetTitle(), "ch2.xhtml");
    EXPECT_TRUE(View()->m_bUnsaved); // a write-back counts as a change of the book

    // Files that are not chapters open nothing and write nothing back.
    Fake()->log.clear();
    for (const char* other : {"toc.ncx", "style.css", "CH1.XHTML"}) {
        View()->OpenChapter(folder + other, QString());
        EXPECT_EQ(View()->m_strChapterPath, folder + "ch2.xhtml") << other;
    }
    EXPECT_TRUE(Fake()->log.filter("saveAs|").isEmpty());
}

TEST_F(ChapterView, StyleQuestionIsAskedOncePerBook)
{
    m_boxes.enqueue(MessageResult::No);
    ASSERT_NE(m_app->OpenBookFile(SimpleBook("style.epub")), nullptr);
    EXPECT_EQ(Questions(), QStringList{kStyleQuestion});
    EXPECT_EQ(m_app->m_nStyleChoice, 2);
    const QString folder = Doc()->GetPackageFolder();
    EXPECT_TRUE(Fake()->log.contains("open|" + folder + "ch1.xhtml|HTML|imagelink:true;tdxstyle:true;code:utf8"));
    ASSERT_FALSE(Fake()->imported.isEmpty());
    EXPECT_TRUE(Fake()->imported.last()->item("FileName").toString().endsWith("/template/basic_template.sty"));

    View()->OpenChapter(folder + "ch2.xhtml", QString());
    EXPECT_EQ(Questions(), QStringList{kStyleQuestion});

    // Yes keeps each chapter's own styles, for the next book.
    m_boxes.clear();
    m_boxes.enqueue(MessageResult::No);  // P1
    m_boxes.enqueue(MessageResult::Yes); // the style question again
    ASSERT_NE(m_app->OpenBookFile(SimpleBook("style2.epub")), nullptr);
    EXPECT_EQ(Questions(), (QStringList{"epub 파일을 저장하시겠습니까?", kStyleQuestion}));
    EXPECT_TRUE(Fake()->log.contains("open|" + Doc()->GetPackageFolder()
                                     + "ch1.xhtml|HTML|imagelink:true;tdxstyle:false;code:utf8;"));
}

TEST_F(ChapterView, PicturesFollowTheChapterAfterAWriteBack)
{
    OpenPictureBook();
    auto pic1 = Fake()->addLinkedPicture(1, m_images + "pic1.png");
    auto pic2 = Fake()->addLinkedPicture(2, m_images + "pic2.png");
    auto pic3 = Fake()->addLinkedPicture(3, m_images + "pic3.png");
    View()->CollectLinkedImages(View()->m_aLinkedImages);
    ASSERT_EQ(View()->m_aLinkedImages.size(), 3);

    // The chapter stops using all three and gains a new picture with a capital extension.
    for (const auto& picture : {pic1, pic2, pic3})
        FakeTdxControl::embed(picture);
    ASSERT_TRUE(WriteTestPicture(m_images + "NEW.JPG"));
    Fake()->addLinkedPicture(4, m_images + "NEW.JPG");
    Fake()->modified = true;
    View()->SaveChapter();

    EXPECT_TRUE(QFile::exists(m_images + "pic1.png")); // ch1 on disk still shows it
    EXPECT_TRUE(QFile::exists(m_images + "pic2.png")); // ch2 shows it from inside a div
    EXPECT_FALSE(QFile::exists(m_images + "pic3.png"));
    const QStringList items = ManifestItems();
    EXPECT_TRUE(items.contains("pic1|image/png|images/pic1.png"));
    EXPECT_TRUE(items.contains("pic2|image/png|images/pic2.png"));
    EXPECT_FALSE(items.filter(QRegularExpression("^pic3\\|")).size() > 0);
    EXPECT_TRUE(items.contains("NEW|image/jpeg|images/NEW.JPG"));
}

TEST_F(ChapterView, AFailedWriteBackKeepsTheMarkAndEveryPicture)
{
    OpenPictureBook();
    auto pic3 = Fake()->addLinkedPicture(3, m_images + "pic3.png");
    View()->CollectLinkedImages(View()->m_aLinkedImages);
    FakeTdxControl::embed(pic3);
    View()->m_bUnsaved = false;
    Fake()->saveResult = false;
    Fake()->modified = true;
    View()->SaveChapter();
    EXPECT_TRUE(View()->m_bUnsaved);
    EXPECT_TRUE(QFile::exists(m_images + "pic3.png"));
    EXPECT_TRUE(ManifestItems().contains("pic3|image/png|images/pic3.png"));
}

TEST_F(ChapterView, PicturesOutsideTheBookAreNeverDeleted)
{
    OpenPictureBook();
    QTemporaryDir outside;
    const QString foreign = outside.filePath("foreign.png");
    ASSERT_TRUE(WriteTestPicture(foreign));
    auto picture = Fake()->addLinkedPicture(9, foreign);
    View()->CollectLinkedImages(View()->m_aLinkedImages);
    FakeTdxControl::embed(picture);
    Fake()->modified = true;
    View()->SaveChapter();
    EXPECT_TRUE(QFile::exists(foreign));
}

TEST_F(ChapterView, ImageUseIsFoundInAnyImgElement)
{
    ASSERT_NE(m_app->OpenBookFile(SimpleBook("used.epub")), nullptr);
    const QString picture = "/somewhere/images/p.png";
    const struct {
        const char* name;
        const char* content;
        bool used;
    } cases[] = {
        {"p-img", "<html><body><p><img src=\"images/p.png\"/></p></body></html>", true},
        {"nested", "<html><body><div><p><span><img src=\"../images/p.png\"/></span></p></div></body></html>", true},
        {"table", "<html><body><table><tr><td><img src=\"p.png\"/></td></tr></table></body></html>", true},
        {"other-name", "<html><body><p><img src=\"images/q.png\"/></p></body></html>", false},
        {"prefix-only", "<html><body><p><img src=\"images/xp.png\"/></p></body></html>", false},
        {"not-src", "<html><body><p><img alt=\"p.png\"/></p></body></html>", false},
        {"encoded", "<html><body><p><img src=\"images/p%2Epng#x\"/></p></body></html>", true},
        {"upper-src", "<html><body><p><img SRC=\"p.png\"/></p></body></html>", true},
        {"broken", "<html><body><p><img src=\"p.png\"></p></body>", true}, // read as text: the name shows
    };
    QTemporaryDir folder;
    for (const auto& c : cases) {
        const QString path = folder.filePath(QString::fromLatin1(c.name) + ".xhtml");
        ASSERT_TRUE(writeFile(path, c.content));
        EXPECT_EQ(View()->IsImageUsed(path, picture), c.used) << c.name;
    }
    EXPECT_FALSE(View()->IsImageUsed(folder.filePath("absent.xhtml"), picture));
}

TEST_F(ChapterView, FitImagesToPaperMakesSizesRelativeToThePaper)
{
    ASSERT_NE(m_app->OpenBookFile(SimpleBook("fit.epub")), nullptr);
    auto page = Fake()->defaultsOf("PageSetup")->createItemSet("PageDef", "PageDef");
    const struct {
        const char* name;
        int value;
    } device[] = {{"PaperWidth", 26844}, {"PaperHeight", 36284}, {"LeftMargin", 1417}, {"RightMargin", 1417},
                  {"TopMargin", 2551}, {"BottomMargin", 2551}};
    for (const auto& item : device)
        page->setItem(item.name, item.value);

    const struct {
        int height, heightRelTo, width, widthRelTo;
        int newHeight, newHeightRelTo, newWidth, newWidthRelTo;
    } cases[] = {
        {7200, 2, 5000, 0, 1984, 0, 5000, 0},      // one inch absolute on device paper
        {5000, 1, 5000, 1, 4297, 0, 4472, 0},      // relative to the text area
        {3000, 0, 7200, 4, 3000, 0, 2682, 0},      // absolute width only
        {4000, 0, 6000, 0, 4000, 0, 6000, 0},      // already relative to the paper
        {4000, 7, 6000, 3, 4000, 7, 5367, 0},      // an undefined relation stays as it is
    };
    QList<tdx::ParameterSetPtr> objects;
    for (const auto& c : cases) {
        tdx::ParameterSetPtr properties = Fake()->addObject("gso");
        properties->setItem("Height", c.height);
        properties->setItem("HeightRelTo", c.heightRelTo);
        properties->setItem("Width", c.width);
        properties->setItem("WidthRelTo", c.widthRelTo);
        objects << properties;
    }
    m_boxes.clear();
    m_boxes.enqueue(MessageResult::Yes);
    Doc()->FitImagesToPaper(true);
    EXPECT_EQ(Questions(), (QStringList{"현재 페이지의 모든 이미지 개체 속성을\n 일괄로 변경하시겠습니까?",
                                        "작업이 완료 되었습니다."}));
    // The fake hands out the objects' own sets, so the written values show there.
    CDTdxShapeObject object = Doc()->m_pCtrl->GetFirstObject();
    for (const auto& c : cases) {
        ASSERT_FALSE(object.IsNull());
        CDTdxParameterSet set = object.GetProperties();
        EXPECT_EQ(set.GetItemLong("Height"), c.newHeight) << c.height;
        EXPECT_EQ(set.GetItemLong("HeightRelTo"), c.newHeightRelTo) << c.height;
        EXPECT_EQ(set.GetItemLong("Width"), c.newWidth) << c.width;
        EXPECT_EQ(set.GetItemLong("WidthRelTo"), c.newWidthRelTo) << c.width;
        object = object.GetNext();
    }

    // Once every picture is relative to the paper, the asking form finds nothing to do.
    m_boxes.clear();
    m_boxes.enqueue(MessageResult::Yes);
    Doc()->FitImagesToPaper(true);
    EXPECT_EQ(Questions().value(1), "페이지에 작업할 이미지가 없습니다.");
}

TEST_F(ChapterView, ChaptersGetTheDevicePage)
{
    ASSERT_NE(m_app->OpenBookFile(SimpleBook("page.epub")), nullptr);
    EXPECT_TRUE(Frame().m_bDevicePaper);
    EXPECT_FALSE(Frame().m_bA4Paper);
    tdx::ParameterSetPtr applied;
    for (const auto& executed : Fake()->executed)
        if (executed.action == "PageSetup")
            applied = executed.set;
    ASSERT_TRUE(applied);
    EXPECT_EQ(applied->intItem("ApplyTo"), 3);
    EXPECT_EQ(applied->intItem("ApplyClass"), 24);
    auto page = applied->itemSet("PageDef");
    ASSERT_TRUE(page);
    const QList<int> expected{26844, 36284, 1417, 1417, 2551, 2551, 0, 0};
    const QStringList names{"PaperWidth", "PaperHeight", "LeftMargin", "RightMargin",
                            "TopMargin", "BottomMargin", "HeaderLen", "FooterLen"};
    for (int i = 0; i < names.size(); ++i)
        EXPECT_EQ(page->intItem(names.at(i), -1), expected.at(i)) << names.at(i).toStdString();
}

TEST_F(ChapterView, ANewBookFromATemplateTakesTheTemplatesStyles)
{
    const QString templatePath = Scratch("books.tdt");
    m_app->NewBookFromTemplate(templatePath);
    ASSERT_NE(Doc(), nullptr);
    EXPECT_TRUE(m_boxes.asked().isEmpty()); // no book was open, and a template answers the style question
    EXPECT_EQ(m_app->m_nStyleChoice, 1);
    EXPECT_TRUE(Fake()->log.contains("open|" + templatePath + "|TDX|template:false;forceopen:true;"));
    const QString styleFile = Scratch("books.sty");
    EXPECT_EQ(m_app->m_strStyleFile, styleFile);
    ASSERT_EQ(Fake()->exported.size(), 1);
    EXPECT_EQ(Fake()->exported.at(0)->item("FileName").toString(), styleFile);
    EXPECT_EQ(Fake()->exported.at(0)->itemArray("NameEngs")->count(), 17);
    // Each chapter then imports that style file from the template folder, with all 20 names.
    ASSERT_FALSE(Fake()->imported.isEmpty());
    EXPECT_TRUE(Fake()->imported.last()->item("FileName").toString().endsWith("/template/books.sty"));
    EXPECT_EQ(Fake()->imported.last()->itemArray("NameLocals")->count(), 20);
    EXPECT_EQ(Fake()->imported.last()->itemArray("NameLocals")->item(19).toString(), "각주");
    EXPECT_TRUE(View()->m_strChapterPath.endsWith("/ch01.xhtml"));
    EXPECT_EQ(Frame().m_strBookPath, "ePub1");
}
