// Opens a book in the editor, as the open command does, and reports the time until its first
// chapter is shown, and the longest time the window's event loop went without a turn.
//
//   bench_open BOOK.epub
//
// Run it with QT_QPA_PLATFORM=offscreen and scratch XDG folders (bench/open/run.sh does).
#include "editor/LindarApp.h"
#include "editor/LindarDoc.h"
#include "editor/LindarView.h"
#include "editor/MainFrame.h"
#include "editor/TdxComponentRegistration.h"
#include "platform/core/KnownFolders.h"
#include "platform/core/MessageBox.h"
#include "platform/ui/ModalDialogs.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char** argv)
{
    qputenv("LINDAR_STARTUP_WAIT_PERCENT", "0");
    QApplication application(argc, argv);
    if (argc != 2 || !QFileInfo::exists(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "usage: bench_open BOOK.epub\n");
        return 2;
    }
    if (!CTdxComponentRegistration::Register(platform::ProgramFolder()))
        return 1;
    platform::ScriptedMessageBoxes answers; // each question takes its default answer
    platform::ScopedMessageBoxBackend scoped(&answers);
    platform::ScriptedDialogs dialogs; // the start-up's template chooser is cancelled
    platform::ScopedDialogBackend scopedDialogs(&dialogs);
    CLindarApp app;
    if (!app.InitInstance())
        return 1;
    application.processEvents();

    // The longest stretch between two turns of the event loop, while the book opens.
    QElapsedTimer sinceTurn;
    qint64 longestStall = 0;
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::awake, [&] {
        if (sinceTurn.isValid())
            longestStall = std::max(longestStall, sinceTurn.elapsed());
        sinceTurn.restart();
    });

    QElapsedTimer clock;
    clock.start();
    sinceTurn.start();
    CLindarDoc* document = app.OpenBookFile(QString::fromLocal8Bit(argv[1]));
    CLindarView* view = app.MainFrame() ? app.MainFrame()->GetActiveView() : nullptr;
    while (document && view && view->m_strChapterPath.isEmpty() && clock.elapsed() < 120000)
        application.processEvents(QEventLoop::WaitForMoreEvents, 10);
    const qint64 shown = clock.elapsed();
    application.processEvents();
    longestStall = std::max(longestStall, sinceTurn.elapsed());
    if (!document || !view || view->m_strChapterPath.isEmpty()) {
        std::fprintf(stderr, "bench_open: the book did not open\n");
        return 1;
    }
    std::printf("open to first chapter: %lld ms\nlongest stall of the window: %lld ms\nchapter: %s\n",
                static_cast<long long>(shown), static_cast<long long>(longestStall),
                qPrintable(view->m_strChapterPath));
    app.MainFrame()->m_bClosing = true;
    return 0;
}
