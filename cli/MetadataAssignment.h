#pragma once
// One `--set NAME=VALUE` of lindar-cli: a value for a row of the metadata grid, as a user
// would type it into the properties pane.
#include <QList>
#include <QString>
#include <QStringList>

namespace platform { class PropertyGrid; }

namespace cli {

struct MetadataAssignment {
    QString name;
    QString value;

    // Parses "NAME=VALUE" and checks it against the grid the pane builds: NAME is a required
    // row or an additional item, and a row with fixed choices takes only one of them.
    // On failure returns false with `error` saying why.
    static bool Parse(const QString& text, MetadataAssignment& out, QString& error);

    // Sets the required row of that name, or adds the additional item (with its help text,
    // as the pane's add command does) and sets it.
    void ApplyTo(platform::PropertyGrid& grid) const;
};

} // namespace cli
