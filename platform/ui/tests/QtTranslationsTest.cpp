#include "platform/ui/QtTranslations.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QTranslator>

#include <algorithm>

namespace {

class QtTranslationsTest : public ::testing::Test {
protected:
    // A deleted translator leaves the application, so each test starts with Qt's own texts.
    void TearDown() override { qDeleteAll(QCoreApplication::instance()->findChildren<QTranslator*>()); }

    static QString buttonText(QMessageBox::StandardButton which)
    {
        QMessageBox box(QMessageBox::Question, QStringLiteral("caption"), QStringLiteral("text"),
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        return box.button(which)->text();
    }

    static bool hasHangul(const QString& text)
    {
        return std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0xAC00 && c.unicode() <= 0xD7A3; });
    }
};

TEST_F(QtTranslationsTest, KoreanLocaleGivesKoreanStockButtonsAndFileDialog)
{
    ASSERT_TRUE(platform::InstallQtTranslations(QLocale(QLocale::Korean, QLocale::SouthKorea)))
        << "qtbase_ko.qm missing (Debian package qt6-translations-l10n)";
    for (auto which : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel})
        EXPECT_TRUE(hasHangul(buttonText(which))) << buttonText(which).toStdString();

    QFileDialog dialog(nullptr, QStringLiteral("열기"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    const auto labels = dialog.findChildren<QLabel*>();
    EXPECT_TRUE(std::any_of(labels.begin(), labels.end(), [](QLabel* label) { return hasHangul(label->text()); }));
}

TEST_F(QtTranslationsTest, EnglishKeepsQtsOwnTexts)
{
    platform::InstallQtTranslations(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(buttonText(QMessageBox::Yes), QStringLiteral("&Yes"));
}

} // namespace
