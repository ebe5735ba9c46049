#include "cli/NewCommand.h"

#include "cli/BookSession.h"

#include <QFile>

#include <cstdio>

namespace cli {

QString NewCommand::summary() const
{
    return QStringLiteral("make a new book from the skeleton and the template chapters beside the "
                          "program, and pack it into OUT");
}

int NewCommand::run(const QStringList& arguments, QTextStream&)
{
    if (arguments.size() != 1) {
        std::fprintf(stderr, "usage: lindar-cli new OUT.epub\n");
        return EXIT_USAGE;
    }
    BookSession session;
    if (!session.create()) {
        std::fprintf(stderr, "lindar-cli: the new book could not be made (is the template folder "
                             "beside the program complete?)\n");
        return EXIT_FAILED;
    }
    // Written through the saves, as the editor's first save of a new book does: they drop
    // the skeleton's placeholder texts.
    QString failure;
    if (!session.savePackageFiles(arguments.first(), &failure)) {
        std::fprintf(stderr, "lindar-cli: the new book could not be written: %s\n", failure.toLocal8Bit().constData());
        return EXIT_FAILED;
    }
    if (!session.saveAs(arguments.first())) {
        std::fprintf(stderr, "lindar-cli: %s could not be written: %s\n",
                     QFile::encodeName(arguments.first()).constData(),
                     session.container().GetLastError().toLocal8Bit().constData());
        return EXIT_FAILED;
    }
    return EXIT_OK;
}

} // namespace cli
