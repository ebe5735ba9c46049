#include "cli/MetadataAssignment.h"

#include "package/MetadataTables.h"
#include "panes/MetadataGridBuilder.h"
#include "platform/controls/MemoryGrid.h"

namespace cli {

namespace {

// The grid a freshly opened book starts from, for its names and choice lists.
const platform::MemoryGrid& referenceGrid()
{
    static const platform::MemoryGrid grid = [] {
        platform::MemoryGrid built;
        CMetadataGridBuilder::ResetGrid(built);
        return built;
    }();
    return grid;
}

QStringList knownNames()
{
    QStringList names;
    const platform::MemoryGrid& grid = referenceGrid();
    for (int row = 0; row < grid.GetRowCount(CMetadataGridBuilder::GROUP_REQUIRED); ++row)
        names << grid.GetRowName(CMetadataGridBuilder::GROUP_REQUIRED, row);
    for (const MetadataTables::AdditionalItem& item : MetadataTables::AdditionalItems())
        names << item.name;
    return names;
}

} // namespace

bool MetadataAssignment::Parse(const QString& text, MetadataAssignment& out, QString& error)
{
    const qsizetype equals = text.indexOf(QLatin1Char('='));
    if (equals <= 0) {
        error = QStringLiteral("--set takes NAME=VALUE, got '%1'").arg(text);
        return false;
    }
    out.name = text.left(equals);
    out.value = text.mid(equals + 1);

    const platform::MemoryGrid& grid = referenceGrid();
    const int row = grid.FindRow(CMetadataGridBuilder::GROUP_REQUIRED, out.name);
    if (row < 0 && !MetadataTables::FindAdditionalItemByName(out.name)) {
        error = QStringLiteral("unknown metadata row '%1'; rows are: %2").arg(out.name, knownNames().join(QStringLiteral(", ")));
        return false;
    }
    if (row == MetadataTables::ROW_DATE && !out.value.isEmpty() && !MetadataTables::IsW3CDate(out.value)) {
        error = QStringLiteral("'%1': %2").arg(out.value, MetadataTables::W3CDateRule());
        return false;
    }
    const QStringList choices = row < 0 ? QStringList() : grid.GetRowOptions(CMetadataGridBuilder::GROUP_REQUIRED, row);
    if (!choices.isEmpty() && !choices.contains(out.value)) {
        error = QStringLiteral("'%1' takes one of: %2").arg(out.name, choices.join(QStringLiteral(", ")));
        return false;
    }
    return true;
}

void MetadataAssignment::ApplyTo(platform::PropertyGrid& grid) const
{
    const int required = grid.FindRow(CMetadataGridBuilder::GROUP_REQUIRED, name);
    if (required >= 0) {
        grid.SetRowValue(CMetadataGridBuilder::GROUP_REQUIRED, required, value);
        return;
    }
    if (const MetadataTables::AdditionalItem* item = MetadataTables::FindAdditionalItemByName(name))
        CMetadataGridBuilder::AddAdditionalItem(grid, item->name, item->help);
    const int additional = grid.FindRow(CMetadataGridBuilder::GROUP_ADDITIONAL, name);
    if (additional >= 0)
        grid.SetRowValue(CMetadataGridBuilder::GROUP_ADDITIONAL, additional, value);
}

} // namespace cli
