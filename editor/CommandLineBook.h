#pragma once
// A book named on the command line (`lindar book.epub`, the desktop's "open with"). The
// start-up sequence itself never opens one; the book is opened once start-up is done.
#include <QString>
#include <QStringList>

class CLindarApp;

class CCommandLineBook {
public:
    // The first argument that names a file, as an absolute path; empty when there is none.
    // `arguments` starts with the program; options and the value of "--screenshot" are skipped.
    static QString FromArguments(const QStringList& arguments);
    // Queues the opening of `path`, so that it follows whatever start-up has posted; a main
    // window closed by then (the update dialog's download choice) opens nothing.
    static void OpenAfterStartup(CLindarApp& app, const QString& path);
};
