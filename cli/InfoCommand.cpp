#include "cli/InfoCommand.h"

#include "cli/BookJson.h"
#include "cli/BookSession.h"
#include "cli/JsonWriter.h"

#include <QTextStream>

#include <cstdio>

namespace cli {

QString InfoCommand::summary() const
{
    return QStringLiteral("open the book and print its package path, NCX path, first chapter and "
                          "the manifest, spine and navigation trees as one JSON object on one line "
                          "(--pretty: indented)");
}

int InfoCommand::run(const QStringList& arguments, QTextStream& out)
{
    QStringList files = arguments;
    const bool pretty = files.removeAll(QStringLiteral("--pretty")) > 0;
    if (files.size() != 1) {
        std::fprintf(stderr, "usage: lindar-cli info [--pretty] BOOK.epub\n");
        return EXIT_USAGE;
    }
    BookSession session;
    const bool accepted = session.open(files.first());
    if (accepted && !session.container().HasPackage())
        std::fprintf(stderr, "lindar-cli: no package: %s\n",
                     session.container().GetPackageProblem().toLocal8Bit().constData());
    JsonWriter json(pretty, &out);
    describeBook(json, session, files.first(), accepted);
    out.flush();
    return accepted ? EXIT_OK : EXIT_FAILED;
}

} // namespace cli
