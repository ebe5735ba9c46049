// A second program with a book open, for the editor's tests: opens the book named on the
// command line the way lindar-cli does, prints its work folder, and keeps the book open
// until its standard input closes.
#include "package/ePubContainerFormat.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return 2;
    CePubContainerFormat container;
    if (!container.GetZipWrapper().LoadLibraries() || !container.OpenEpub(QString::fromLocal8Bit(argv[1])))
        return 1;
    std::printf("%s\n", container.GetWorkFolderPath().toLocal8Bit().constData());
    std::fflush(stdout);
    char buffer[256];
    while (std::fread(buffer, 1, sizeof buffer, stdin) > 0) {
    }
    return 0;
}
