// The content and bookmark dialogs, answered through the dialog seam as a user would.
#include "panes/AddBookmarkDlg.h"
#include "panes/AddContentsDlg.h"
#include "platform/ui/ModalDialogs.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using platform::DialogAnswer;

namespace {

void touch(const QString& path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

} // namespace

TEST(AddContentsDlgTest, ProposesTheFirstFreeName)
{
    const struct {
        QStringList present;
        const char* proposal;
    } cases[] = {
        {{}, "content000"},
        {{"content000.xhtml", "Contents001.xhtml"}, "Contents002.xhtml"},
        {{"content000.xhtml", "Contents002.xhtml"}, "Contents001.xhtml"}, // a gap is reused
        {{"Contents001.xhtml"}, "content000"},
    };
    for (const auto& c : cases) {
        QTemporaryDir folder;
        for (const QString& name : c.present)
            touch(folder.filePath(name));
        EXPECT_EQ(CAddContentsDlg::ProposeFileName(folder.path() + QLatin1Char('/')), QString::fromUtf8(c.proposal))
            << c.present.join(QLatin1Char(',')).toStdString();
    }
}

TEST(AddContentsDlgTest, AnEmptyLabelLeavesTheDialogOpen)
{
    QTemporaryDir folder;
    touch(folder.filePath(QStringLiteral("content000.xhtml")));
    platform::ScriptedDialogs dialogs;
    platform::ScopedDialogBackend scope(&dialogs);
    dialogs.enqueue(DialogAnswer::Press(QStringLiteral("확인")));
    dialogs.enqueue(DialogAnswer::Press(QStringLiteral("확인"), {{QStringLiteral("contentsLabel"), QStringLiteral("서문")}}));

    CAddContentsDlg dialog;
    dialog.SetReferencePath(folder.filePath(QStringLiteral("toc.ncx")));
    EXPECT_EQ(platform::RunModalDialog(dialog), QDialog::Accepted);
    EXPECT_EQ(dialogs.refusedPresses(), 1) << "the empty label was refused without closing";
    EXPECT_EQ(dialog.GetLabel(), QStringLiteral("서문"));
    EXPECT_EQ(dialog.GetFileName(), QStringLiteral("Contents001.xhtml"));
    ASSERT_EQ(dialogs.asked().size(), 1);
    EXPECT_EQ(dialogs.asked().first().title, QStringLiteral("목차 추가"));
    EXPECT_EQ(dialogs.asked().first().properties.value(QStringLiteral("referencePath")).toString(),
              folder.filePath(QStringLiteral("toc.ncx")));
}

TEST(AddContentsDlgTest, CancelReturnsNothing)
{
    platform::ScriptedDialogs dialogs;
    platform::ScopedDialogBackend scope(&dialogs);
    dialogs.enqueue(DialogAnswer::Press(QStringLiteral("취소"), {{QStringLiteral("contentsLabel"), QStringLiteral("x")}}));
    CAddContentsDlg dialog;
    EXPECT_EQ(platform::RunModalDialog(dialog), QDialog::Rejected);
    EXPECT_TRUE(dialog.GetLabel().isEmpty());
    EXPECT_TRUE(dialog.GetFileName().isEmpty());
}

TEST(AddBookmarkDlgTest, TakesAnyLabelTheEmptyOneToo)
{
    platform::ScriptedDialogs dialogs;
    platform::ScopedDialogBackend scope(&dialogs);
    for (const QString& label : {QString(), QStringLiteral("첫 북마크")}) {
        dialogs.enqueue(DialogAnswer::Press(QString(), {{QStringLiteral("bookmarkLabel"), label}}));
        CAddBookmarkDlg dialog;
        EXPECT_EQ(platform::RunModalDialog(dialog), QDialog::Accepted);
        EXPECT_EQ(dialog.GetLabel(), label);
    }
    EXPECT_EQ(dialogs.asked().last().title, QStringLiteral("북마크 추가"));
    EXPECT_EQ(dialogs.refusedPresses(), 0);
}
