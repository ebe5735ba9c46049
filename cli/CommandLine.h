#pragma once
// Dispatches lindar-cli's arguments to its commands and prints the help text.
#include "cli/Command.h"

#include <memory>
#include <vector>

namespace cli {

class CommandLine {
public:
    CommandLine();
    // Every command lindar-cli offers; a new command is one more line in the constructor.
    void add(std::unique_ptr<Command> command);
    // `arguments` without the program name. Returns the exit code.
    int run(const QStringList& arguments, QTextStream& out, QTextStream& err);
    QString helpText() const;

private:
    std::vector<std::unique_ptr<Command>> m_commands;
};

} // namespace cli
