// kvx-printjob: prints EMF pages, or a text file, to the "Corvel PDF" printer by handing
// them to the converter KVXE2PPRCONV.
#include "components/printjob/PrintJobStarter.h"
#include "components/printjob/TextPages.h"
#include "platform/core/ProgramInfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTextStream>

#include <cstdio>

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

bool readFile(const QString& path, QByteArray* bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    *bytes = file.readAll();
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (platform::AnswerInfoRequest(argc, argv, "kvx-printjob", kUsage))
        return 0;
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);

    printjob::StartOptions options;
    bool silent = false;
    bool saveAs = false;
    QString textFile;
    QStringList pageFiles;
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        const bool takesValue = argument == "--output" || argument == "--document-name" || argument == "--text";
        if (takesValue && i + 1 >= arguments.size())
            return usage(err, argument + " needs a value");
        if (argument == "--silent")
            silent = true;
        else if (argument == "--save-as")
            saveAs = true;
        else if (argument == "--output")
            options.outputPath = arguments.at(++i);
        else if (argument == "--document-name")
            options.documentName = arguments.at(++i);
        else if (argument == "--text")
            textFile = arguments.at(++i);
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
    if (textFile.isEmpty()) {
        for (const QString& page : pageFiles) {
            QByteArray bytes;
            if (!readFile(page, &bytes))
                return usage(err, "cannot read " + page);
            options.pages.append(bytes);
        }
    } else {
        QByteArray bytes;
        if (!readFile(textFile, &bytes))
            return usage(err, "cannot read " + textFile);
        options.pages = printjob::RenderTextPages(QString::fromUtf8(bytes));
    }
    if (options.documentName.isEmpty())
        options.documentName = QFileInfo(source).fileName();
    if (options.outputPath.isEmpty())
        options.outputPath = QDir::current().filePath(QFileInfo(source).completeBaseName() + ".pdf");
    options.outputPath = QFileInfo(options.outputPath).absoluteFilePath();
    options.mode = saveAs ? printjob::ConvertMode::SaveAs : printjob::ConvertMode::Silent;
    options.converterPath = QCoreApplication::applicationDirPath() + "/KVXE2PPRCONV";

    return printjob::StartPrintJob(options, out, err);
}
