// lindar-cli: the book package model without a screen. Message boxes go to stderr.
#include "cli/CommandLine.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    QTextStream out(stdout);
    QTextStream err(stderr);
    cli::CommandLine commandLine;
    return commandLine.run(arguments, out, err);
}
