#include "pdfprinter/converter/CommandLineInfoEx.h"
#include "pdfprinter/converter/ConverterStrings.h"
#include "pdfprinter/converter/DefaultPdfName.h"

#include <gtest/gtest.h>

TEST(CommandLineInfoEx, TheLastArgumentDecidesTheMode)
{
    const struct {
        QStringList arguments;
        int mode;
    } cases[] = {
        {{}, CommandLineInfoEx::MODE_DEFAULT},
        {{"/S"}, CommandLineInfoEx::MODE_SAVE_AS},
        {{"-save"}, CommandLineInfoEx::MODE_SAVE_AS},
        {{"/x"}, CommandLineInfoEx::MODE_SILENT},
        {{"/Xtra"}, CommandLineInfoEx::MODE_SILENT},
        {{"/X", "/S"}, CommandLineInfoEx::MODE_SAVE_AS},
        {{"/S", "/X"}, CommandLineInfoEx::MODE_SILENT},
        {{"/S", "file.spl"}, CommandLineInfoEx::MODE_DEFAULT},
        {{"/X", "/Q"}, CommandLineInfoEx::MODE_DEFAULT},
        {{"/X", "/"}, CommandLineInfoEx::MODE_DEFAULT},
    };
    for (const auto& c : cases) {
        CommandLineInfoEx info;
        info.ParseCommandLine(c.arguments);
        EXPECT_EQ(info.m_nConvertMode, c.mode) << qPrintable(c.arguments.join(' '));
    }
}

TEST(CommandLineInfoEx, APlainArgumentIsKeptAsTheFileName)
{
    CommandLineInfoEx info;
    info.ParseCommandLine({"/S", "file.spl"});
    EXPECT_EQ(info.m_strFileName, "file.spl");
}

TEST(MakeDefaultPdfName, DerivesTheNameFromTheDocument)
{
    const struct {
        const char* document;
        const char* expected;
    } cases[] = {
        {"Microsoft Word - Report.doc", "Report.pdf"},
        {"Microsoft Excel -Budget.xls", "Budget.pdf"},
        {"Microsoft PowerPoint - Slides.ppt", "Slides.pdf"},
        {"Microsoft Word - Microsoft Excel -x.doc", "Microsoft Excel -x.pdf"}, // one token only
        {"C:\\docs\\a.b\\file", "a.pdf"},
        {"notes", "notes.pdf"},
        {"C:\\temp\\notes", "C__temp_notes.pdf"},
        {"x*y?.txt", "x_y_.pdf"},
        {"a:b*c?.txt", "b_c_.pdf"},
        {"   .txt", ".pdf"},
        {"", "Untitled.pdf"},
        {"dir\\.txt", "dir_.pdf"},
        {"/home/me/report.odt", "report.pdf"},
        {"tab\there<>|\".txt", "tab_here____.pdf"},
        {"  padded  .txt", "padded.pdf"},
        {"보고서 초안.hwp", "보고서 초안.pdf"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MakeDefaultPdfName(QString::fromUtf8(c.document)), QString::fromUtf8(c.expected)) << c.document;
}

// The name buffer holds 1023 bytes and its terminator: a longer name is cut before the
// extension, and never inside a character.
TEST(MakeDefaultPdfName, LongNamesAreCutAtACharacterWithinTheBuffer)
{
    const struct {
        QString document;
        QString expected;
    } cases[] = {
        {QString(2000, u'a') + ".txt", QString(1019, u'a') + ".pdf"},
        // three bytes each: 339 characters are 1017 bytes, a 340th would need 1020
        {QString(500, u'가') + ".hwp", QString(339, u'가') + ".pdf"},
        // one byte then three-byte characters: the cut falls inside the 340th character
        {"b" + QString(500, u'가') + ".hwp", "b" + QString(339, u'가') + ".pdf"},
        {QString(1019, u'a') + ".txt", QString(1019, u'a') + ".pdf"},
    };
    for (const auto& c : cases) {
        const QString name = MakeDefaultPdfName(c.document);
        EXPECT_EQ(name, c.expected) << c.document.size();
        EXPECT_LE(name.toUtf8().size(), 1023);
    }
}

TEST(ConverterStrings, FormatFillsFieldsInOrder)
{
    EXPECT_EQ(FormatConverterString(IDS_PAGE_STATUS, {"3", "10"}), QStringLiteral("3 / 10 페이지를 생성하고 있습니다."));
    EXPECT_EQ(FormatConverterString(IDS_FILE_IN_USE, {"/out/a%s.pdf"}),
              QStringLiteral("[/out/a%s.pdf] 파일이 사용중입니다.\n\n다른 이름으로 저장하세요."));
}
