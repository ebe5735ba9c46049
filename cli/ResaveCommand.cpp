#include "cli/ResaveCommand.h"

#include "cli/BookSession.h"
#include "cli/MetadataAssignment.h"

#include <QFile>
#include <QList>
#include <QTextStream>

#include <cstdio>

namespace cli {

QString ResaveCommand::summary() const
{
    return QStringLiteral("open IN, set metadata rows (--set 제목=... sets a required row or adds "
                          "an additional item), write every package file back in the editor's save "
                          "order and pack it into OUT (mimetype first and stored); OUT is replaced "
                          "only when complete");
}

int ResaveCommand::run(const QStringList& arguments, QTextStream&)
{
    QStringList files;
    QList<MetadataAssignment> assignments;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (arguments[i] != QLatin1String("--set")) {
            files << arguments[i];
            continue;
        }
        MetadataAssignment assignment;
        QString error;
        if (i + 1 >= arguments.size()) {
            error = QStringLiteral("--set needs NAME=VALUE");
        } else if (MetadataAssignment::Parse(arguments[++i], assignment, error)) {
            assignments << assignment;
            continue;
        }
        std::fprintf(stderr, "lindar-cli: %s\n", error.toLocal8Bit().constData());
        return EXIT_USAGE;
    }
    if (files.size() != 2) {
        std::fprintf(stderr, "usage: lindar-cli resave IN.epub OUT.epub [--set NAME=VALUE ...]\n");
        return EXIT_USAGE;
    }

    BookSession session;
    if (!session.open(files[0])) {
        std::fprintf(stderr, "lindar-cli: %s could not be opened as a book\n",
                     QFile::encodeName(files[0]).constData());
        return EXIT_FAILED;
    }
    // Saving a book without its package would write an empty book over the reader's copy.
    if (!session.container().HasPackage()) {
        std::fprintf(stderr, "lindar-cli: %s has no usable package file: %s\n",
                     QFile::encodeName(files[0]).constData(),
                     session.container().GetPackageProblem().toLocal8Bit().constData());
        return EXIT_FAILED;
    }
    for (const MetadataAssignment& assignment : assignments)
        assignment.ApplyTo(session.metadataGrid());
    QString failure;
    if (!session.savePackageFiles(files[1], &failure)) {
        // Packing now would save the old package data as if the changes were in.
        std::fprintf(stderr, "lindar-cli: %s was not saved: %s\n", QFile::encodeName(files[1]).constData(),
                     failure.toLocal8Bit().constData());
        return EXIT_FAILED;
    }
    for (const QString& rejected : session.container().GetPackage().GetOPFManager().GetMetadata().GetRejectedValues())
        std::fprintf(stderr, "lindar-cli: not written: %s\n", rejected.toLocal8Bit().constData());
    if (!session.saveAs(files[1])) {
        std::fprintf(stderr, "lindar-cli: %s could not be written: %s\n",
                     QFile::encodeName(files[1]).constData(),
                     session.container().GetLastError().toLocal8Bit().constData());
        return EXIT_FAILED;
    }
    return EXIT_OK;
}

} // namespace cli
