#include "cli/ResaveCommand.h"

#include "cli/BookSession.h"

#include <QFile>
#include <QTextStream>

#include <cstdio>

namespace cli {

QString ResaveCommand::summary() const
{
    return QStringLiteral("open IN, write its package files back and pack it into OUT "
                          "(mimetype first and stored); OUT is replaced only when complete");
}

int ResaveCommand::run(const QStringList& arguments, QTextStream&)
{
    if (arguments.size() != 2) {
        std::fprintf(stderr, "usage: lindar-cli resave IN.epub OUT.epub\n");
        return EXIT_USAGE;
    }
    BookSession session;
    if (!session.open(arguments[0])) {
        std::fprintf(stderr, "lindar-cli: %s could not be opened as a book\n",
                     QFile::encodeName(arguments[0]).constData());
        return EXIT_FAILED;
    }
    session.savePackageFiles();
    if (!session.saveAs(arguments[1])) {
        std::fprintf(stderr, "lindar-cli: %s could not be written\n",
                     QFile::encodeName(arguments[1]).constData());
        return EXIT_FAILED;
    }
    return EXIT_OK;
}

} // namespace cli
