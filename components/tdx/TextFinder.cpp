#include "components/tdx/TextFinder.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

namespace tdx {

namespace {

QTextDocument::FindFlags flagsOf(const FindOptions& options, bool backward)
{
    QTextDocument::FindFlags flags;
    if (options.matchCase)
        flags |= QTextDocument::FindCaseSensitively;
    if (options.wholeWord)
        flags |= QTextDocument::FindWholeWords;
    if (backward)
        flags |= QTextDocument::FindBackward;
    return flags;
}

bool isOccurrence(const QTextCursor& cursor, const QString& text, const FindOptions& options)
{
    if (!cursor.hasSelection())
        return false;
    // The selection is an occurrence when a search from its start finds exactly it.
    QTextCursor from(cursor.document());
    from.setPosition(cursor.selectionStart());
    const QTextCursor found = cursor.document()->find(text, from, flagsOf(options, false));
    return !found.isNull() && found.selectionStart() == cursor.selectionStart()
        && found.selectionEnd() == cursor.selectionEnd();
}

} // namespace

bool findNext(QTextEdit& edit, const QString& text, const FindOptions& options)
{
    if (text.isEmpty())
        return false;
    QTextDocument* document = edit.document();
    const auto flags = flagsOf(options, options.backward);
    QTextCursor found = document->find(text, edit.textCursor(), flags);
    if (found.isNull()) {
        QTextCursor start(document);
        start.movePosition(options.backward ? QTextCursor::End : QTextCursor::Start);
        found = document->find(text, start, flags);
    }
    if (found.isNull())
        return false;
    edit.setTextCursor(found);
    edit.ensureCursorVisible();
    return true;
}

bool replaceNext(QTextEdit& edit, const QString& text, const QString& replacement, const FindOptions& options)
{
    QTextCursor cursor = edit.textCursor();
    if (isOccurrence(cursor, text, options)) {
        cursor.insertText(replacement);
        if (options.backward)
            cursor.setPosition(cursor.position() - int(replacement.size()));
        edit.setTextCursor(cursor);
    }
    return findNext(edit, text, options);
}

int replaceAll(QTextEdit& edit, const QString& text, const QString& replacement, const FindOptions& options)
{
    if (text.isEmpty())
        return 0;
    QTextDocument* document = edit.document();
    // One edit block for the document: every replacement undoes together.
    QTextCursor batch(document);
    batch.beginEditBlock();
    int count = 0;
    QTextCursor at(document);
    for (;;) {
        QTextCursor found = document->find(text, at, flagsOf(options, false));
        if (found.isNull())
            break;
        found.insertText(replacement);
        at = found;
        ++count;
    }
    batch.endEditBlock();
    return count;
}

} // namespace tdx
