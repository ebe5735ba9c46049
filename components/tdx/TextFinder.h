#pragma once
// Find and replace in a text edit, at its caret: what the find dialog's buttons do.
#include <QString>

class QTextEdit;

namespace tdx {

struct FindOptions {
    bool matchCase = false;
    bool wholeWord = false;
    bool backward = false;
};

// Selects the next occurrence after the caret (before it, backward), going round the
// document's end once; false when there is none.
bool findNext(QTextEdit& edit, const QString& text, const FindOptions& options);
// Replaces the selection when it is an occurrence, then finds the next one. False when
// nothing is left to find.
bool replaceNext(QTextEdit& edit, const QString& text, const QString& replacement, const FindOptions& options);
// Replaces every occurrence in one undo step; returns how many.
int replaceAll(QTextEdit& edit, const QString& text, const QString& replacement, const FindOptions& options);

} // namespace tdx
