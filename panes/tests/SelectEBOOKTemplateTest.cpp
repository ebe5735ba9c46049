// The template chooser on folders of its own: templates collected, previews extracted,
// thumbnails loaded in batches, and the choice it returns.
#include "panes/SelectEBOOKTemplate.h"
#include "panes/ThumbnailList.h"
#include "platform/core/CompoundFile.h"
#include "platform/core/MessageBox.h"
#include "platform/ui/ModalDialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QShowEvent>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

namespace {

// A 2 x 2 GIF, blue in its top-left corner.
const QByteArray kGif = QByteArray::fromHex(
    "474946383961020002008100" "00ff00000000ff000000ffffff"
    "2c00000000020002000002038c0605003b");

class SelectEBOOKTemplateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        QDir(m_root.path()).mkpath("template");
        QDir(m_root.path()).mkpath("thumbnail");
    }
    QString templates() const { return m_root.filePath("template"); }
    QString thumbnails() const { return m_root.filePath("thumbnail"); }
    void addTemplate(const QString& name, const QMap<QString, QByteArray>& streams = {{"PrvImage", kGif}})
    {
        ASSERT_TRUE(platform::CompoundFile::write(templates() + '/' + name, streams)) << name.toStdString();
    }
    static void writeFile(const QString& path, const QByteArray& data)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(data);
    }
    // Opens the dialog as the screen would, without a modal loop.
    static void open(CSelectEBOOKTemplate& dialog)
    {
        QShowEvent shown;
        QCoreApplication::sendEvent(&dialog, &shown);
    }
    static QStringList labels(const CSelectEBOOKTemplate& dialog)
    {
        QStringList texts;
        for (int i = 0; i < dialog.List()->count(); ++i)
            texts.append(dialog.List()->item(i)->text());
        return texts;
    }

    QTemporaryDir m_root;
    platform::ScriptedMessageBoxes m_boxes;
    platform::ScopedMessageBoxBackend m_boxScope{&m_boxes};
    platform::ScriptedDialogs m_dialogs;
    platform::ScopedDialogBackend m_dialogScope{&m_dialogs};
};

TEST_F(SelectEBOOKTemplateTest, LabelsComeFromTheLowerCasedTitleAndOkGivesTheTemplatePath)
{
    addTemplate("02_Novel.TDT");
    addTemplate("My_Own.tdt");
    CSelectEBOOKTemplate dialog("Tolvo maker 편집툴", templates(), thumbnails());
    open(dialog);
    EXPECT_EQ(dialog.TemplatePaths(), QStringList({templates() + "/02_Novel.TDT", templates() + "/My_Own.tdt"}));
    EXPECT_TRUE(QFile::exists(thumbnails() + "/02_Novel.gif"));
    ASSERT_EQ(labels(dialog), QStringList({"소설 기본 템플릿1", "my_own"}));

    dialog.List()->setCurrentRow(0);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.GetChoice(), CSelectEBOOKTemplate::NewFromTemplate);
    EXPECT_EQ(dialog.GetTemplatePath(), templates() + "/02_Novel.tdt") << "the title keeps its case";
    EXPECT_TRUE(m_boxes.asked().isEmpty());
}

TEST_F(SelectEBOOKTemplateTest, TheTableNamesTheDeliveredTemplates)
{
    const struct {
        const char* title;
        const char* label;
    } cases[] = {
        {"01_VENDARA_BASIC_TEMPLATE", "빈 템플릿"}, {"02_novel", "소설 기본 템플릿1"},
        {"03_Novel", "소설 기본 템플릿2"},        {"04_novel_large", "소설 기본 템플릿3"},
        {"05_Novel_Large", "소설 기본 템플릿4"},  {"06_Novel", "06_novel"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CSelectEBOOKTemplate::LabelForTitle(c.title), QString::fromUtf8(c.label)) << c.title;
}

TEST_F(SelectEBOOKTemplateTest, OnlyTheThumbnailsOwnPartIsRewritten)
{
    const struct {
        const char* thumbnail;
        const char* templateFolder;
        const char* expected;
    } cases[] = {
        {"/opt/kit/bin/thumbnail/02_Novel.gif", "/opt/kit/bin/template", "/opt/kit/bin/template/02_Novel.tdt"},
        {"/opt/kit/bin/thumbnail/shot.JPG", "/opt/kit/bin/template", "/opt/kit/bin/template/shot.JPG"},
        {"/opt/kit/bin/thumbnail/a.GIF", "/opt/kit/bin/template", "/opt/kit/bin/template/a.GIF"},
        {"/opt/kit/bin/thumbnail/a.gif.gif", "/opt/kit/bin/template", "/opt/kit/bin/template/a.tdt.tdt"},
        {"/home/u/x.gif/thumbnail/thumbnail/b.gif", "/home/u/x.gif/thumbnail/template",
         "/home/u/x.gif/thumbnail/template/b.tdt"},
        {"/home/u/.local/share/lindar/thumbnail/02_novel.gif", "/usr/share/lindar/template",
         "/usr/share/lindar/template/02_novel.tdt"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CSelectEBOOKTemplate::TemplatePathFor(c.thumbnail, c.templateFolder), QString(c.expected))
            << c.thumbnail;
}

TEST_F(SelectEBOOKTemplateTest, OkWithoutSelection)
{
    CSelectEBOOKTemplate dialog("Tolvo maker 편집툴", templates(), thumbnails());
    // Template mode: the dialog refuses and stays open; then the user picks the other radio.
    m_dialogs.enqueue(platform::DialogAnswer::Press("확인"));
    m_dialogs.enqueue(platform::DialogAnswer::Press("확인", {{"radio1008", true}}));
    EXPECT_EQ(platform::RunModalDialog(dialog), QDialog::Accepted);
    EXPECT_EQ(m_dialogs.refusedPresses(), 1);
    ASSERT_EQ(m_boxes.asked().size(), 1);
    EXPECT_EQ(m_boxes.asked().at(0).text, "템플릿 파일이 선택되지 않았습니다.");
    EXPECT_EQ(m_boxes.asked().at(0).caption, "Tolvo maker 편집툴");
    EXPECT_EQ(m_boxes.asked().at(0).icon, platform::MessageIcon::Error);
    EXPECT_EQ(dialog.GetChoice(), CSelectEBOOKTemplate::OpenExisting);
    EXPECT_TRUE(dialog.GetTemplatePath().isEmpty());
    EXPECT_FALSE(dialog.List()->isEnabled());
    EXPECT_FALSE(dialog.TimerActive()) << "closing stops the loading";
}

// The radio decides for the caller; the template path comes with a selection all the same.
TEST_F(SelectEBOOKTemplateTest, AScriptPicksAThumbnailByRow)
{
    addTemplate("02_Novel.TDT");
    CSelectEBOOKTemplate dialog("Tolvo maker 편집툴", templates(), thumbnails());
    m_dialogs.enqueue(platform::DialogAnswer::Press("확인", {{"list1006", 0}, {"radio1008", true}}));
    EXPECT_EQ(platform::RunModalDialog(dialog), QDialog::Accepted);
    EXPECT_EQ(dialog.GetChoice(), CSelectEBOOKTemplate::OpenExisting);
    EXPECT_EQ(dialog.GetTemplatePath(), templates() + "/02_Novel.tdt");
}

TEST_F(SelectEBOOKTemplateTest, FourThumbnailsAtOnceAndTheFifthOnTheNextTick)
{
    for (int i = 1; i <= 5; ++i)
        addTemplate(QString("0%1_template.tdt").arg(i));
    CSelectEBOOKTemplate dialog("Tolvo maker 편집툴", templates(), thumbnails());
    open(dialog);
    ASSERT_EQ(dialog.ThumbnailPaths().size(), 5);
    ASSERT_EQ(dialog.Images().size(), 5);
    ASSERT_EQ(dialog.List()->count(), 5);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(dialog.Images().at(i).size(), QSize(132, 177)) << i;
    EXPECT_TRUE(dialog.Images().at(4).isNull());
    EXPECT_TRUE(dialog.TimerActive());
    for (int i = 0; i < 5; ++i) // one row
        EXPECT_EQ(dialog.List()->visualRect(dialog.List()->model()->index(i, 0)).x(), 6 + 138 * i) << i;

    dialog.OnTimer();
    EXPECT_EQ(dialog.Images().at(4).size(), QSize(132, 177));
    EXPECT_EQ(dialog.Images().at(4).format(), QImage::Format_RGB888);
    EXPECT_EQ(dialog.Images().at(4).pixelColor(0, 0), QColor(Qt::blue)) << "the picture, stretched";
    EXPECT_FALSE(dialog.TimerActive());
    EXPECT_EQ(dialog.List()->count(), 5) << "the items are made once";
}

TEST_F(SelectEBOOKTemplateTest, ThumbnailFolderListsEveryPictureAndOnlyTemplatesWithAPreviewAddOne)
{
    addTemplate("02_novel.tdt");
    addTemplate("no_preview.tdt", {{"Contents", "<html/>"}});
    writeFile(templates() + "/plain.tdt", "not a compound file");
    writeFile(templates() + "/notes.txt", "not a template");
    writeFile(thumbnails() + "/Cover.JPG", "not really a JPEG");
    writeFile(thumbnails() + "/readme.txt", "not a picture");
    QDir(thumbnails()).mkpath("folder.gif");

    CSelectEBOOKTemplate dialog("Tolvo maker 편집툴", templates(), thumbnails());
    open(dialog);
    EXPECT_EQ(dialog.TemplatePaths().size(), 3);
    EXPECT_EQ(dialog.ThumbnailPaths(), QStringList({thumbnails() + "/02_novel.gif", thumbnails() + "/Cover.JPG"}));
    EXPECT_EQ(labels(dialog), QStringList({"소설 기본 템플릿1", "cover"}));
    EXPECT_EQ(dialog.Images().at(1).size(), QSize(132, 177)) << "an undecodable picture shows the placeholder";
    EXPECT_TRUE(m_boxes.asked().isEmpty());

    dialog.List()->setCurrentRow(1);
    dialog.accept();
    EXPECT_EQ(dialog.GetTemplatePath(), templates() + "/Cover.JPG") << "only \".gif\" is replaced";
}

TEST_F(SelectEBOOKTemplateTest, AFolderThatCannotBeListedIsReportedAndTheDialogStillOpens)
{
    CSelectEBOOKTemplate dialog("Tolvo maker 편집툴", m_root.filePath("missing"), m_root.filePath("none"));
    open(dialog);
    ASSERT_EQ(m_boxes.asked().size(), 2) << "the template folder, then the thumbnail folder";
    for (const platform::MessageRequest& box : m_boxes.asked()) {
        EXPECT_EQ(box.caption, "Error");
        EXPECT_EQ(box.icon, platform::MessageIcon::Error);
        EXPECT_EQ(box.text, QString::fromLocal8Bit(std::strerror(ENOENT)));
    }
    EXPECT_EQ(dialog.List()->count(), 0);
    dialog.OnTimer();
    EXPECT_FALSE(dialog.TimerActive());
}

} // namespace
