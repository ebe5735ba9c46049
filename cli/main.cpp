// lindar-cli: the book package model without a screen. Message boxes go to stderr.
#include "cli/Command.h"
#include "cli/CommandLine.h"
#include "platform/core/LocalTimeZone.h"
#include "platform/core/TerminationSignals.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char** argv)
{
    platform::KeepLocalTimeZoneLoaded();
    QCoreApplication app(argc, argv);
    // Ctrl-C, SIGTERM and SIGHUP stop the work at its next step, and the command then
    // removes its work folder, lock and temporary archive as it does when it ends.
    const platform::TerminationSignals stopSignals(platform::TerminationSignals::Mode::InterruptWork);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    QTextStream out(stdout);
    QTextStream err(stderr);
    cli::CommandLine commandLine;
    const int status = commandLine.run(arguments, out, err);
    // A signal that came after the last step changed nothing: the command did its work.
    const int signal = platform::TerminationSignal();
    if (signal && status != cli::EXIT_OK) {
        std::fprintf(stderr, "lindar-cli: stopped by signal %d; nothing was written\n", signal);
        return 128 + signal;
    }
    return status;
}
