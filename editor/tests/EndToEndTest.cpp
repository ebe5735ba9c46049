// A whole session: a new book, typing, a pasted picture, save, and the saved file checked by
// lindar-cli and epubcheck.
#include "EditorFixture.h"

#include "editor/CommandIds.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QKeyEvent>
#include <QProcess>
#include <QRegularExpression>

namespace {

void typeText(QWidget* target, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &release);
    }
}

// epubcheck's verdict on a book: its exit status (-1 when it did not run to the end) and
// what it printed.
int runEpubcheck(const QString& book, QString* report)
{
    QProcess check;
    check.setProcessChannelMode(QProcess::MergedChannels);
    check.start(QStringLiteral("java"), {"-jar", "/usr/bin/epubcheck", book});
    const bool finished = check.waitForFinished(180000);
    *report = QString::fromUtf8(check.readAll());
    if (!finished || check.exitStatus() != QProcess::NormalExit)
        return -1;
    return check.exitCode();
}

QByteArray runCli(const QStringList& arguments, int* exitCode)
{
    QProcess cli;
    cli.start(QStringLiteral(KVX_BIN_DIR "/lindar-cli"), arguments);
    *exitCode = cli.waitForFinished(60000) ? cli.exitCode() : -1;
    return cli.readAllStandardOutput();
}

QJsonObject findItem(const QJsonArray& items, const QString& text)
{
    for (const QJsonValue& value : items)
        if (value.toObject().value("text").toString() == text)
            return value.toObject();
    return {};
}

QStringList childTexts(const QJsonObject& item)
{
    QStringList texts;
    for (const QJsonValue& child : item.value("children").toArray())
        texts << child.toObject().value("text").toString();
    return texts;
}

} // namespace

using EndToEnd = EditorFixture;

TEST_F(EndToEnd, NewBookTypedTextAndPastedPictureSurviveTheSave)
{
    m_app->OnFileNew();
    ASSERT_NE(Doc(), nullptr);
    ASSERT_NE(Doc()->m_pCtrl, nullptr);
    ASSERT_TRUE(View()->m_strChapterPath.endsWith("/ch01.xhtml")) << View()->m_strChapterPath.toStdString();

    QWidget* editor = Doc()->m_pCtrl->GetControl()->widget();
    ASSERT_NE(editor, nullptr);
    typeText(editor, "Typed by the end-to-end test");
    QImage picture(24, 16, QImage::Format_RGB32);
    picture.fill(Qt::darkMagenta);
    QApplication::clipboard()->setImage(picture);
    ASSERT_TRUE(Doc()->m_pCtrl->RunAction("Paste"));

    const QString book = Scratch("end-to-end.epub");
    m_dialogs.enqueue(book);
    Frame().OnCommand(cmd::SaveBook);
    ProcessPosted();
    ASSERT_TRUE(QFile::exists(book));
    ASSERT_NE(Doc(), nullptr);
    EXPECT_EQ(Doc()->m_strFileName, book); // reopened from the saved file
    EXPECT_EQ(View()->m_strChapterPath.section('/', -1), "ch01.xhtml");

    // The chapter holds the text, and the picture is in the archive and the manifest.
    const QByteArray saved = ReadMember(book, "OEBPS/ch01.xhtml");
    EXPECT_TRUE(saved.contains("Typed by the end-to-end test")) << saved.constData();
    const QRegularExpressionMatch match =
        QRegularExpression("<img[^>]*src=\"images/([^\"]+)\"").match(QString::fromUtf8(saved));
    ASSERT_TRUE(match.hasMatch()) << saved.constData();
    const QString pictureFile = match.captured(1);
    EXPECT_FALSE(ReadMember(book, "OEBPS/images/" + pictureFile).isEmpty());

    int exitCode = -1;
    const QJsonObject info = QJsonDocument::fromJson(runCli({"info", book}, &exitCode)).object();
    EXPECT_EQ(exitCode, 0);
    const QJsonArray manifest = info.value("trees").toObject().value("manifest").toArray();
    const QJsonObject item = findItem(manifest, QFileInfo(pictureFile).completeBaseName());
    ASSERT_FALSE(item.isEmpty()) << QJsonDocument(manifest).toJson().constData();
    EXPECT_EQ(childTexts(item), (QStringList{"image/png", "images/" + pictureFile}));

    // The saved book is valid. epubcheck exits with 0 only when it checked the book and found
    // no error, so a missing java or epubcheck fails here as well.
    QString report;
    EXPECT_EQ(runEpubcheck(book, &report), 0) << report.toStdString();
    EXPECT_TRUE(report.contains("No errors or warnings detected") || report.contains("0 fatals / 0 errors"))
        << report.toStdString();
}
