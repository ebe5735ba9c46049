// The dialog seam's scripted backend: fields in, buttons pressed, what the dialog showed
// recorded, and no modal loop ever entered.
#include "platform/ui/ModalDialogs.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// A dialog that refuses "no" as an answer and closes with 7 on its own button.
class AskDialog : public QDialog {
public:
    AskDialog()
    {
        setObjectName(QStringLiteral("AskDialog"));
        setWindowTitle(QStringLiteral("Ask"));
        name = new QLineEdit(QStringLiteral("proposed"));
        name->setObjectName(QStringLiteral("name"));
        flag = new QCheckBox;
        flag->setObjectName(QStringLiteral("flag"));
        auto* ok = new QPushButton(QStringLiteral("&OK"));
        ok->setDefault(true);
        auto* other = new QPushButton(QStringLiteral("Other"));
        other->setObjectName(QStringLiteral("otherButton"));
        connect(ok, &QPushButton::clicked, this, [this] {
            if (name->text() != QLatin1String("no"))
                accept();
        });
        connect(other, &QPushButton::clicked, this, [this] { done(7); });
        auto* layout = new QVBoxLayout(this);
        for (QWidget* widget : {static_cast<QWidget*>(name), static_cast<QWidget*>(flag),
                                static_cast<QWidget*>(ok), static_cast<QWidget*>(other)})
            layout->addWidget(widget);
    }
    QLineEdit* name;
    QCheckBox* flag;
};

} // namespace

TEST(ModalDialogsTest, ScriptedAnswersFillFieldsAndPressButtons)
{
    platform::ScriptedDialogs dialogs;
    platform::ScopedDialogBackend scope(&dialogs);
    struct {
        QList<platform::DialogAnswer> answers;
        int result;
        int refused;
        const char* name;
        bool flag;
    } cases[] = {
        {{platform::DialogAnswer::Press(QString())}, QDialog::Accepted, 0, "proposed", false},
        {{platform::DialogAnswer::Press(QStringLiteral("OK"), {{"name", "typed"}, {"flag", true}})},
         QDialog::Accepted, 0, "typed", true},
        {{platform::DialogAnswer::Press(QStringLiteral("otherButton"))}, 7, 0, "proposed", false},
        {{platform::DialogAnswer::Cancel()}, QDialog::Rejected, 0, "proposed", false},
        // A refused press takes the next answer; an empty queue cancels.
        {{platform::DialogAnswer::Press(QString(), {{"name", "no"}}), platform::DialogAnswer::Press(QString(), {{"name", "yes"}})},
         QDialog::Accepted, 1, "yes", false},
        {{platform::DialogAnswer::Press(QString(), {{"name", "no"}})}, QDialog::Rejected, 1, "no", false},
        {{}, QDialog::Rejected, 0, "proposed", false},
    };
    for (const auto& c : cases) {
        dialogs.clear();
        for (const auto& answer : c.answers)
            dialogs.enqueue(answer);
        AskDialog dialog;
        EXPECT_EQ(platform::RunModalDialog(dialog), c.result) << c.name;
        EXPECT_EQ(dialogs.refusedPresses(), c.refused) << c.name;
        EXPECT_EQ(dialog.name->text(), QString::fromUtf8(c.name));
        EXPECT_EQ(dialog.flag->isChecked(), c.flag);
        EXPECT_FALSE(dialog.isVisible());
        ASSERT_EQ(dialogs.asked().size(), 1);
        EXPECT_EQ(dialogs.asked().first().name, QStringLiteral("AskDialog"));
        EXPECT_EQ(dialogs.asked().first().title, QStringLiteral("Ask"));
        EXPECT_EQ(dialogs.asked().first().fields.value(QStringLiteral("name")).toString(), QStringLiteral("proposed"));
    }
}

TEST(ModalDialogsTest, ModelessDialogShowsOnScreenAndIsAnsweredByScript)
{
    {
        AskDialog dialog; // the Qt backend: shown, and the call returns at once
        platform::ShowModelessDialog(dialog);
        EXPECT_TRUE(dialog.isVisible());
    }
    platform::ScriptedDialogs dialogs;
    platform::ScopedDialogBackend scope(&dialogs);
    dialogs.enqueue(platform::DialogAnswer::Press(QString(), {{"name", "no"}}));
    AskDialog dialog;
    platform::ShowModelessDialog(dialog);
    EXPECT_EQ(dialog.name->text(), QStringLiteral("no")) << "one press, the dialog stayed open";
    EXPECT_EQ(dialogs.refusedPresses(), 1);
    EXPECT_FALSE(dialog.isVisible()) << "closed when the answers ran out";
}
