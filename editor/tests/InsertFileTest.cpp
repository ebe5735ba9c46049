// A document pulled into a chapter brings its pictures into the book: after the chapter's
// write-back every manifest item names a file that is in the book.
#include "EditorFixture.h"

#include "components/tdx/FileChooser.h"
#include "editor/BookPanes.h"
#include "platform/ui/QtTreeControl.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

class InsertFile : public EditorFixture {
protected:
    void TearDown() override
    {
        tdx::setFileChooser(nullptr);
        EditorFixture::TearDown();
    }
};

TEST_F(InsertFile, PicturesOfThePulledInDocumentAreCopiedIntoTheBook)
{
    ASSERT_NE(m_app->OpenBookFile(SimpleBook("insert.epub")), nullptr);
    QTemporaryDir outside;
    ASSERT_TRUE(QDir(outside.path()).mkpath("pics"));
    ASSERT_TRUE(WriteTestPicture(outside.filePath("pics/outside.png")));
    QFile part(outside.filePath("part.xhtml"));
    ASSERT_TRUE(part.open(QIODevice::WriteOnly));
    part.write("<html xmlns=\"http://www.w3.org/1999/xhtml\"><head><title>p</title></head><body>"
               "<p>pulled <img src=\"pics/outside.png\" alt=\"a\"/> in <img src=\"pics/outside.png\" alt=\"b\"/></p>"
               "<p><img src=\"pics/missing.png\" alt=\"gone\"/></p></body></html>");
    part.close();
    tdx::setFileChooser([&](QWidget*, const QString&, const QString&) { return part.fileName(); });

    ASSERT_TRUE(Doc()->m_pCtrl->RunAction("InsertFile"));
    ASSERT_TRUE(View()->SaveChapter());

    const QString folder = Doc()->GetPackageFolder();
    EXPECT_TRUE(QFileInfo(folder + "images/outside.png").isFile());
    EXPECT_FALSE(QFileInfo::exists(folder + "images/outside_2.png")) << "one copy for one picture";
    QFile chapter(View()->m_strChapterPath);
    ASSERT_TRUE(chapter.open(QIODevice::ReadOnly));
    const QString written = QString::fromUtf8(chapter.readAll());
    EXPECT_EQ(written.count("src=\"images/outside.png\""), 2) << written.toStdString();
    EXPECT_FALSE(written.contains(outside.path()));
    EXPECT_TRUE(ManifestItems().contains("outside|image/png|images/outside.png")) << ManifestItems().join(", ").toStdString();
    for (const QString& item : ManifestItems()) {
        const QString href = item.section('|', 2);
        EXPECT_TRUE(QFileInfo(QDir::cleanPath(folder + href)).isFile()) << item.toStdString();
    }
}

TEST_F(InsertFile, InsertedPictureIsCopiedIntoTheBookWithAManifestItem)
{
    ASSERT_NE(m_app->OpenBookFile(SimpleBook("picture.epub")), nullptr);
    QTemporaryDir outside;
    ASSERT_TRUE(WriteTestPicture(outside.filePath("photo.png")));
    // The file is chosen through the editor's file dialog; asked to link a file outside the
    // book, the chapter takes a copy in all the same.
    m_dialogs.enqueue(outside.filePath("photo.png"));
    m_modal.enqueue(platform::DialogAnswer::Press("찾아보기..."));
    m_modal.enqueue(platform::DialogAnswer::Press("확인", {{"embedded", false}, {"width", 64}}));

    ASSERT_TRUE(Doc()->m_pCtrl->RunAction("PictureInsertDialog"));
    ASSERT_TRUE(View()->SaveChapter());

    const QString folder = Doc()->GetPackageFolder();
    EXPECT_TRUE(QFileInfo(folder + "images/photo.png").isFile());
    QFile chapter(View()->m_strChapterPath);
    ASSERT_TRUE(chapter.open(QIODevice::ReadOnly));
    const QString written = QString::fromUtf8(chapter.readAll());
    EXPECT_TRUE(written.contains("<img src=\"images/photo.png\" alt=\"photo\" width=\"64\"")) << written.toStdString();
    EXPECT_TRUE(ManifestItems().contains("photo|image/png|images/photo.png")) << ManifestItems().join(", ").toStdString();
}
