#pragma once
// Style attributes of chapter elements: what their declarations mean for the text
// layout, and how an edit's changes go into an attribute without losing the rest of it.
#include <QList>
#include <QPair>
#include <QString>

class QTextBlockFormat;
class QTextCharFormat;

namespace tdx {

using Declarations = QList<QPair<QString, QString>>;

// Applies the declarations the layout knows; `block` may be null for inline elements.
void applyInlineStyle(const QString& style, QTextBlockFormat* block, QTextCharFormat& chars);

// `style` with each declaration of `changes` replacing the one of the same property or
// added at the end; the declarations not named keep their text.
QString mergeInlineStyle(const QString& style, const Declarations& changes);

} // namespace tdx
