// kvx-printjob: prints EMF pages, or a text file, to the "Corvel PDF" printer by handing
// them to the converter KVXE2PPRCONV.
#include "components/printjob/PrintJobStarter.h"
#include "components/printjob/TextPages.h"
#include "platform/core/ProgramInfo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStringList>
#include <QTextStream>

#include <memory>
#include <vector>

namespace {

const char kUsage[] =
    "usage: kvx-printjob [--silent | --save-as] [--output OUT.pdf] [--document-name NAME] PAGE.emf...\n"
    "       kvx-printjob [--silent | --save-as] [--output OUT.pdf] [--document-name NAME] --text FILE.txt\n"
    "       kvx-printjob --help | --version\n"
    "Queues the pages as a job of the \"Corvel PDF\" printer and converts it with KVXE2PPRCONV:\n"
    "  --silent           no window; the converter's notifications are printed (default)\n"
    "  --save-as          the converter asks where to save, with its progress window\n"
    "  --output OUT.pdf   the PDF to write in silent mode (default: NAME.pdf here)\n"
    "  --document-name N  the job's document name (default: the first file's name)\n"
    "  --text FILE.txt    lay the text out on A4 pages instead of taking EMF files\n"
    "Prints \"NOTIFY <kind> <total> <current> <percent>\" per relayed notification.\n"
    "Exit status: 0 converted, 1 failed or cancelled, 2 usage error.\n";

int usage(QTextStream& err, const QString& problem)
{
    if (!problem.isEmpty())
        err << "kvx-printjob: " << problem << '\n';
    err << kUsage;
    err.flush();
    return printjob::ExitUsage;
}

// One EMF file per page, read when its turn comes.
printjob::PageSource filePages(const QStringList& files)
{
    auto next = std::make_shared<qsizetype>(0);
    return [files, next](QByteArray* metafile, QString* problem) {
        if (*next >= files.size())
            return false;
        const QString& path = files.at((*next)++);
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            *problem = "cannot read " + path + ": " + file.errorString();
            return false;
        }
        *metafile = file.readAll();
        return true;
    };
}

printjob::PageSource textPages(const std::shared_ptr<printjob::TextPager>& pager)
{
    return [pager](QByteArray* metafile, QString*) {
        QStringList lines;
        if (!pager->nextPage(&lines))
            return false;
        *metafile = printjob::RenderTextPage(lines);
        return true;
    };
}

// Fonts need a GUI application; this one never shows a window, so it needs no display
// (the converter it starts keeps the caller's platform).
QList<QByteArray> offscreenArguments(int argc, char** argv)
{
    QList<QByteArray> arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(argv[i]);
    arguments.insert(1, "offscreen");
    arguments.insert(1, "-platform");
    return arguments;
}

} // namespace

int main(int argc, char** argv)
{
    if (platform::AnswerInfoRequest(argc, argv, "kvx-printjob", kUsage))
        return 0;
    QList<QByteArray> arguments = offscreenArguments(argc, argv);
    std::vector<char*> pointers;
    for (QByteArray& argument : arguments)
        pointers.push_back(argument.data());
    int count = int(pointers.size());
    QGuiApplication application(count, pointers.data());
    QTextStream out(stdout);
    QTextStream err(stderr);

    printjob::StartOptions options;
    bool silent = false;
    bool saveAs = false;
    QString textFile;
    QStringList pageFiles;
    const QStringList given = QCoreApplication::arguments().mid(1);
    for (qsizetype i = 0; i < given.size(); ++i) {
        const QString& argument = given.at(i);
        const bool takesValue = argument == "--output" || argument == "--document-name" || argument == "--text";
        if (takesValue && i + 1 >= given.size())
            return usage(err, argument + " needs a value");
        if (argument == "--silent")
            silent = true;
        else if (argument == "--save-as")
            saveAs = true;
        else if (argument == "--output")
            options.outputPath = given.at(++i);
        else if (argument == "--document-name")
            options.documentName = given.at(++i);
        else if (argument == "--text")
            textFile = given.at(++i);
        else if (argument == "--help" || argument == "-h")
            return usage(err, {});
        else if (argument.startsWith("--"))
            return usage(err, "unknown option " + argument);
        else
            pageFiles.append(argument);
    }
    if (silent && saveAs)
        return usage(err, "--silent and --save-as exclude each other");
    if (textFile.isEmpty() == pageFiles.isEmpty())
        return usage(err, "give either EMF pages or --text FILE.txt");

    const QString source = textFile.isEmpty() ? pageFiles.constFirst() : textFile;
    for (const QString& file : textFile.isEmpty() ? pageFiles : QStringList{textFile}) {
        if (!QFileInfo(file).isReadable() || !QFileInfo(file).isFile())
            return usage(err, "cannot read " + file);
    }
    if (options.documentName.isEmpty())
        options.documentName = QFileInfo(source).fileName();
    if (options.outputPath.isEmpty())
        options.outputPath = QDir::current().filePath(QFileInfo(source).completeBaseName() + ".pdf");
    options.outputPath = QFileInfo(options.outputPath).absoluteFilePath();
    // A longer path would be cut in the job block and name another file.
    if (options.outputPath.size() > printjob::kMaxOutputPathUnits)
        return usage(err, "the output path is longer than " + QString::number(printjob::kMaxOutputPathUnits)
                              + " characters");
    options.mode = saveAs ? printjob::ConvertMode::SaveAs : printjob::ConvertMode::Silent;
    options.converterPath = printjob::InstalledConverterPath(err);
    if (options.converterPath.isEmpty())
        return printjob::ExitFailed;

    printjob::PageSource pages = filePages(pageFiles);
    QFile text(textFile);
    if (!textFile.isEmpty()) {
        if (!text.open(QIODevice::ReadOnly))
            return usage(err, "cannot read " + textFile + ": " + text.errorString());
        pages = textPages(std::make_shared<printjob::TextPager>(&text));
    }
    return printjob::StartPrintJob(options, pages, out, err);
}
