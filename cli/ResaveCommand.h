#pragma once
#include "cli/Command.h"

namespace cli {

// `resave IN.epub OUT.epub`: opens IN, rewrites its package files from the panes and packs
// the work folder into OUT, as the editor's save does.
class ResaveCommand : public Command {
public:
    QString name() const override { return QStringLiteral("resave"); }
    QString arguments() const override { return QStringLiteral("IN.epub OUT.epub"); }
    QString summary() const override;
    int run(const QStringList& arguments, QTextStream& out) override;
};

} // namespace cli
