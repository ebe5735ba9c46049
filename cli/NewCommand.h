#pragma once
#include "cli/Command.h"

namespace cli {

// `new OUT.epub`: makes a new book from the skeleton and the program's template chapters,
// as the editor's new-book command does, and packs it into OUT.
class NewCommand : public Command {
public:
    QString name() const override { return QStringLiteral("new"); }
    QString arguments() const override { return QStringLiteral("OUT.epub"); }
    QString summary() const override;
    int run(const QStringList& arguments, QTextStream& out) override;
};

} // namespace cli
