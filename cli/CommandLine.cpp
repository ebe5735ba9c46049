#include "cli/CommandLine.h"

#include "cli/InfoCommand.h"
#include "cli/NewCommand.h"
#include "cli/ResaveCommand.h"
#include "platform/core/ProgramInfo.h"

#include <QTextStream>

namespace cli {

CommandLine::CommandLine()
{
    add(std::make_unique<InfoCommand>());
    add(std::make_unique<ResaveCommand>());
    add(std::make_unique<NewCommand>());
}

void CommandLine::add(std::unique_ptr<Command> command) { m_commands.push_back(std::move(command)); }

QString CommandLine::helpText() const
{
    QString text = QStringLiteral(
        "lindar-cli: open, inspect and re-save EPUB 2 books without the editor.\n"
        "\n"
        "Usage: lindar-cli COMMAND ARGUMENTS...\n"
        "       lindar-cli --help | --version\n"
        "\n"
        "Commands:\n");
    for (const auto& command : m_commands) {
        const QString call = command->name() + QLatin1Char(' ') + command->arguments();
        text += QStringLiteral("  %1\n      %2\n").arg(call, command->summary());
    }
    text += QStringLiteral(
        "\n"
        "Books are unpacked into work folders below the per-user data folder\n"
        "($XDG_DATA_HOME/ePubModule); each command removes the work folder it made.\n"
        "Exit status: 0 done, 1 the book was refused or could not be written, 2 usage error.\n");
    return text;
}

int CommandLine::run(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    if (arguments.isEmpty()) {
        err << helpText();
        return EXIT_USAGE;
    }
    const QString first = arguments.first();
    if (first == QLatin1String("--help") || first == QLatin1String("-h") || first == QLatin1String("help")) {
        out << helpText();
        return EXIT_OK;
    }
    if (first == QLatin1String("--version")) {
        out << "lindar-cli " << platform::KitVersion() << '\n';
        return EXIT_OK;
    }
    for (const auto& command : m_commands) {
        if (command->name() == first)
            return command->run(arguments.mid(1), out);
    }
    err << "lindar-cli: unknown command '" << first << "'\n\n" << helpText();
    return EXIT_USAGE;
}

} // namespace cli
