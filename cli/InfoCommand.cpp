#include "cli/InfoCommand.h"

#include "cli/BookJson.h"
#include "cli/BookSession.h"

#include <QJsonDocument>
#include <QTextStream>

#include <cstdio>

namespace cli {

QString InfoCommand::summary() const
{
    return QStringLiteral("open the book and print its package path, NCX path, first chapter and "
                          "the manifest, spine and navigation trees as one JSON object");
}

int InfoCommand::run(const QStringList& arguments, QTextStream& out)
{
    if (arguments.size() != 1) {
        std::fprintf(stderr, "usage: lindar-cli info BOOK.epub\n");
        return EXIT_USAGE;
    }
    BookSession session;
    const bool accepted = session.open(arguments.first());
    if (accepted && !session.container().HasPackage())
        std::fprintf(stderr, "lindar-cli: no package: %s\n",
                     session.container().GetPackageProblem().toLocal8Bit().constData());
    out << QJsonDocument(describeBook(session, arguments.first(), accepted)).toJson(QJsonDocument::Indented);
    out.flush();
    return accepted ? EXIT_OK : EXIT_FAILED;
}

} // namespace cli
