#pragma once
#include "cli/Command.h"

namespace cli {

// `resave IN.epub OUT.epub [--set NAME=VALUE ...]`: opens IN, sets the metadata rows given,
// rewrites its package files from the panes and packs the work folder into OUT, as the
// editor's save does.
class ResaveCommand : public Command {
public:
    QString name() const override { return QStringLiteral("resave"); }
    QString arguments() const override { return QStringLiteral("IN.epub OUT.epub [--set NAME=VALUE ...]"); }
    QString summary() const override;
    int run(const QStringList& arguments, QTextStream& out) override;
};

} // namespace cli
