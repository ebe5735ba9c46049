#pragma once
// Small helpers shared by the package model tests.
#include "package/MetadataTables.h"
#include "package/XmlDocument.h"
#include "platform/controls/MemoryGrid.h"

#include <QFile>
#include <QString>
#include <QTemporaryDir>

namespace testsupport {

// The grid as the metadata pane builds it: eight required rows, then the additional group.
inline void BuildGrid(platform::MemoryGrid& grid)
{
    grid.RemoveAll();
    grid.AddGroup(QStringLiteral("required"));
    for (int row = 0; row < MetadataTables::REQUIRED_ROW_COUNT; ++row)
        grid.AddRow(0, MetadataTables::RequiredRowName(row), MetadataTables::RequiredRowName(row), QString());
    grid.AddGroup(QStringLiteral("additional"));
}

inline bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

inline QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline QString RowValue(const platform::PropertyGrid& grid, int group, const QString& name)
{
    const int row = grid.FindRow(group, name);
    return row < 0 ? QStringLiteral("<none>") : grid.GetRowValue(group, row);
}

} // namespace testsupport
