#include "pdfprinter/converter/ConvertJob.h"
#include "pdfprinter/converter/ConverterStrings.h"
#include "pdfprinter/converter/OutputPath.h"
#include "platform/core/MessageBox.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

using platform::MessageIcon;
using platform::ScopedMessageBoxBackend;
using platform::ScriptedMessageBoxes;

namespace {

class OutputPath : public ::testing::Test {
protected:
    QString path(const QString& name) const { return m_dir.filePath(name); }
    void write(const QString& name, const QByteArray& bytes)
    {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QTemporaryDir m_dir;
    ScriptedMessageBoxes m_boxes;
    ScopedMessageBoxBackend m_scope {&m_boxes};
};

// Holds a file locked as another program writing it would.
class LockedFile {
public:
    explicit LockedFile(const QString& path)
        : m_fd(::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT, 0644))
    {
        ::flock(m_fd, LOCK_EX);
    }
    ~LockedFile() { ::close(m_fd); }

private:
    int m_fd;
};

} // namespace

TEST_F(OutputPath, CheckCreatesANewFileAndLeavesAnExistingOneAsItIs)
{
    write("old.pdf", "previous contents");
    bool created = true;
    EXPECT_TRUE(CheckOutputFile(path("old.pdf"), nullptr, &created));
    EXPECT_FALSE(created);
    EXPECT_EQ(QFileInfo(path("old.pdf")).size(), 17); // replaced only by a finished PDF
    EXPECT_TRUE(CheckOutputFile(path("new.pdf"), nullptr, &created));
    EXPECT_TRUE(created);
    EXPECT_TRUE(QFileInfo::exists(path("new.pdf")));
    EXPECT_TRUE(m_boxes.asked().isEmpty());
}

TEST_F(OutputPath, AFileInUseIsReportedAndKept)
{
    write("busy.pdf", "being written");
    LockedFile lock(path("busy.pdf"));
    EXPECT_FALSE(CheckOutputFile(path("busy.pdf")));
    ASSERT_EQ(m_boxes.asked().size(), 1);
    EXPECT_EQ(m_boxes.asked()[0].text, "[" + path("busy.pdf") + "] 파일이 사용중입니다.\n\n다른 이름으로 저장하세요.");
    EXPECT_EQ(m_boxes.asked()[0].caption, "Corvel PDF");
    EXPECT_EQ(m_boxes.asked()[0].icon, MessageIcon::Error);
    EXPECT_EQ(QFileInfo(path("busy.pdf")).size(), 13);
}

TEST_F(OutputPath, OtherFailuresShowTheSystemText)
{
    write("plain.txt", "a file, not a folder");
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("folder.pdf"));
    const struct {
        const char* name;
        const char* text; // the system's own text, as the C library gives it here
    } cases[] = {
        {"missing/folder/out.pdf", "No such file or directory"},
        {"folder.pdf", "Is a directory"},
        {"plain.txt/out.pdf", "Not a directory"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_boxes.clear();
        EXPECT_FALSE(CheckOutputFile(path(c.name)));
        ASSERT_EQ(m_boxes.asked().size(), 1);
        EXPECT_EQ(m_boxes.asked()[0].text, c.text);
        EXPECT_EQ(m_boxes.asked()[0].icon, MessageIcon::Error);
    }
    EXPECT_TRUE(QFileInfo(path("folder.pdf")).isDir());
    EXPECT_EQ(QFileInfo(path("plain.txt")).size(), 20);
}

TEST_F(OutputPath, SaveAsAsksAgainUntilTheFileCanBeWritten)
{
    write("busy.pdf", "x");
    LockedFile lock(path("busy.pdf"));
    _tagCONVERT_JOB job {};
    SetJobText(job.szDocumentName, "Microsoft Word - Report.doc");

    QList<SaveAsDialogRequest> asked;
    const QStringList answers {path("busy.pdf"), path("free.pdf")};
    const bool ok = AskOutputPath(job, nullptr, [&](const SaveAsDialogRequest& request, QString* chosen) {
        asked.append(request);
        *chosen = answers.at(asked.size() - 1);
        return true;
    });

    EXPECT_TRUE(ok);
    EXPECT_EQ(JobText(job.szOutputPath), path("free.pdf"));
    ASSERT_EQ(asked.size(), 2);
    EXPECT_EQ(asked[0].fileName, "Report.pdf");
    EXPECT_EQ(asked[0].title, "다른 이름으로 PDF 저장");
    EXPECT_EQ(asked[0].defaultExtension, ".pdf");
    EXPECT_EQ(SaveAsNameFilters(asked[0].filter), QStringList {"PDF, PDF/A 문서(*.PDF) (*.pdf)"});
    EXPECT_EQ(asked[1].fileName, path("busy.pdf")); // the chosen name is kept
    EXPECT_EQ(m_boxes.asked().size(), 1);
}

TEST_F(OutputPath, CancellingSaveAsLeavesTheBlockAlone)
{
    _tagCONVERT_JOB job {};
    SetJobText(job.szOutputPath, "/spool/given.pdf");
    EXPECT_FALSE(AskOutputPath(job, nullptr, [](const SaveAsDialogRequest&, QString*) { return false; }));
    EXPECT_EQ(JobText(job.szOutputPath), "/spool/given.pdf");
}

TEST_F(OutputPath, APathTheBlockCannotHoldIsRefused)
{
    _tagCONVERT_JOB job {};
    int round = 0;
    const QString tooLong = path(QString(1100, u'a') + ".pdf");
    EXPECT_FALSE(AskOutputPath(job, nullptr, [&](const SaveAsDialogRequest&, QString* chosen) {
        *chosen = tooLong;
        return ++round < 2;
    }));
    EXPECT_EQ(m_boxes.asked().size(), 1);
    EXPECT_TRUE(JobText(job.szOutputPath).isEmpty());
}
