#include "package/ePubMain.h"

#include "MetadataTestSupport.h"
#include "package/NewBookSkeleton.h"
#include "platform/controls/MemoryTree.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <memory>

using namespace testsupport;

namespace {

// A new book with every pane attached, as the book document makes one.
struct NewBook {
    NewBook()
    {
        BuildGrid(grid);
        COPFManager& manager = model->GetContainer().GetPackage().GetOPFManager();
        manager.GetManifestManager().SetManifestTree(&manifest);
        manager.GetSpineManager().SetSpineTree(&spine);
        manager.GetSpineManager().SetManifestManager(&manager.GetManifestManager());
        manager.GetMetadata().SetMetadataGrid(&grid);
        manager.GetNCXManager().SetMetadataGrid(&grid);
        manager.GetNCXManager().SetNavigationTree(&navigation);
        created = model->GetContainer().CreateNewEpub();
    }
    QStringList topLevel(const platform::TreeControl& tree) const
    {
        QStringList out;
        for (platform::TreeItem item = tree.GetRootItem(); item; item = tree.GetNextSiblingItem(item))
            out << tree.GetItemText(item);
        return out;
    }
    QString workFolder() const { return model->GetContainer().GetWorkFolderPath(); }

    platform::MemoryGrid grid;
    platform::MemoryTree manifest, spine, navigation;
    std::unique_ptr<CePubMain> model = std::make_unique<CePubMain>();
    bool created = false;
};

QString guidOf(const QString& workFolder)
{
    const QByteArray ncx = ReadFile(workFolder + "/OEBPS/toc.ncx");
    const qsizetype start = ncx.indexOf("content=\"{") + 10;
    return QString::fromLatin1(ncx.mid(start, 36));
}

} // namespace

TEST(NewEpub, SkeletonLoadsIntoEveryPane)
{
    QDir(CePubContainerFormat::GetWorkFolderBase()).removeRecursively();
    NewBook book;
    ASSERT_TRUE(book.created);
    EXPECT_EQ(QFileInfo(book.workFolder()).fileName(), QStringLiteral("NewEpub.epub"));

    const auto row = [&](const char* name) { return RowValue(book.grid, 0, QString::fromUtf8(name)); };
    EXPECT_EQ(row("제목"), QStringLiteral("책제목"));
    EXPECT_EQ(row("저자"), QStringLiteral("저자명"));
    EXPECT_EQ(row("출판사"), QStringLiteral("출판사"));
    EXPECT_EQ(row("출판일"), QStringLiteral("출판일")); // each row shows the first element of its kind
    EXPECT_EQ(row("ISBN"), QStringLiteral("ISBN"));         // neither identifier has a scheme
    EXPECT_EQ(row("ECN"), QStringLiteral("ECN"));
    EXPECT_EQ(row("타입"), QStringLiteral("일반"));
    EXPECT_EQ(row("언어"), QStringLiteral("한국어(KO)"));
    ASSERT_EQ(book.grid.GetRowCount(1), 1);
    EXPECT_EQ(book.grid.GetRowName(1, 0) + "=" + book.grid.GetRowValue(1, 0), QStringLiteral("부제=주제"));

    const platform::TreeItem title = book.navigation.GetRootItem();
    EXPECT_EQ(book.topLevel(book.navigation), QStringList{"책제목"});
    QStringList entries;
    for (platform::TreeItem item = book.navigation.GetChildItem(title); item; item = book.navigation.GetNextSiblingItem(item))
        entries << book.navigation.GetItemText(item) + ">" + book.navigation.GetItemText(book.navigation.GetChildItem(item));
    EXPECT_EQ(entries, (QStringList{"표지>ch01.xhtml", "차례>ch02.xhtml", "머리말>ch03.xhtml", "본문>content000.xhtml",
                                    "맺음말>ch04.xhtml", "판권>ch05.xhtml"}));
    EXPECT_EQ(book.topLevel(book.spine).size(), 6);
    EXPECT_EQ(book.topLevel(book.manifest).size(), 8); // the style sheet is listed too

    QString first;
    ASSERT_TRUE(book.model->GetContainer().GetPackage().GetOPFManager().GetFirstDocumentPath(first));
    EXPECT_EQ(first, book.workFolder() + "/OEBPS/ch01.xhtml");
    EXPECT_EQ(book.model->GetContainer().GetMemberList(), CNewBookSkeleton::MemberNames());

    // The packed skeleton passes the archive check of an opened book.
    QTemporaryDir out;
    const QString packed = out.filePath("new.epub");
    ASSERT_TRUE(book.model->GetContainer().SaveEpub(packed));
    EXPECT_TRUE(CePubContainerFormat::IsValidEpubFile(packed));
}

TEST(NewEpub, LaterBooksCountOnWithTheirOwnGuid)
{
    QDir(CePubContainerFormat::GetWorkFolderBase()).removeRecursively();
    NewBook first;
    NewBook second;
    NewBook third;
    ASSERT_TRUE(first.created && second.created && third.created);
    EXPECT_EQ(QFileInfo(second.workFolder()).fileName(), QStringLiteral("NewEpub(01).epub"));
    EXPECT_EQ(QFileInfo(third.workFolder()).fileName(), QStringLiteral("NewEpub(02).epub"));
    EXPECT_NE(guidOf(first.workFolder()), guidOf(second.workFolder()));
    EXPECT_NE(guidOf(second.workFolder()), guidOf(third.workFolder()));
}

TEST(NewEpub, OpeningABookNamedLikeTheNewFolderLeavesTheNewBookAlone)
{
    QDir(CePubContainerFormat::GetWorkFolderBase()).removeRecursively();
    NewBook book;
    ASSERT_TRUE(book.created);
    QTemporaryDir out;
    const QString packed = out.filePath("NewEpub.epub.epub"); // its title is the new book's folder name
    ASSERT_TRUE(book.model->GetContainer().SaveEpub(packed));
    ASSERT_TRUE(WriteFile(book.workFolder() + "/OEBPS/unsaved.xhtml", "work in progress"));

    CePubMain other;
    other.GetContainer().GetZipWrapper().LoadLibraries();
    ASSERT_TRUE(other.GetContainer().OpenEpub(packed));
    EXPECT_NE(other.GetContainer().GetWorkFolderPath(), book.workFolder());
    EXPECT_EQ(ReadFile(book.workFolder() + "/OEBPS/unsaved.xhtml"), QByteArray("work in progress"));
}
