#pragma once
// One sub-command of lindar-cli ("info", "resave", ...).
#include <QString>
#include <QStringList>

class QTextStream;

namespace cli {

// Exit codes every command shares.
enum ExitCode { EXIT_OK = 0, EXIT_FAILED = 1, EXIT_USAGE = 2 };

class Command {
public:
    virtual ~Command() = default;
    virtual QString name() const = 0;
    virtual QString arguments() const = 0; // e.g. "BOOK.epub"
    virtual QString summary() const = 0;   // one line for --help
    // Runs with the arguments after the command's name. Results go to `out`, errors and
    // messages to stderr.
    virtual int run(const QStringList& arguments, QTextStream& out) = 0;
};

} // namespace cli
