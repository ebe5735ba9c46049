#pragma once
#include "cli/Command.h"

namespace cli {

// `info BOOK.epub`: opens the book and prints what the panes would show, as JSON.
class InfoCommand : public Command {
public:
    QString name() const override { return QStringLiteral("info"); }
    QString arguments() const override { return QStringLiteral("BOOK.epub"); }
    QString summary() const override;
    int run(const QStringList& arguments, QTextStream& out) override;
};

} // namespace cli
