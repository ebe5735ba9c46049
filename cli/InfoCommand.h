#pragma once
#include "cli/Command.h"

namespace cli {

// `info [--pretty] BOOK.epub`: opens the book and prints what the panes would show, as
// compact JSON, or indented with --pretty.
class InfoCommand : public Command {
public:
    QString name() const override { return QStringLiteral("info"); }
    QString arguments() const override { return QStringLiteral("[--pretty] BOOK.epub"); }
    QString summary() const override;
    int run(const QStringList& arguments, QTextStream& out) override;
};

} // namespace cli
