#pragma once
// A property grid as the metadata panes use it: groups of rows, each row with a name, a
// text value, a help text and optionally a fixed list of allowed values.
#include <QString>
#include <QStringList>

namespace platform {

class PropertyGrid {
public:
    virtual ~PropertyGrid() = default;

    virtual int AddGroup(const QString& name) = 0; // returns the group's index
    virtual int GetGroupCount() const = 0;
    virtual QString GetGroupName(int group) const = 0;
    virtual void CollapseGroup(int group) = 0;
    virtual void ExpandGroup(int group) = 0;
    virtual bool IsGroupExpanded(int group) const = 0;

    virtual int GetRowCount(int group) const = 0;
    // Appends a row at the end of a group; returns its index, or -1 for a bad group.
    virtual int AddRow(int group, const QString& name, const QString& value,
                       const QString& help) = 0;
    virtual bool RemoveRow(int group, int row) = 0;
    virtual QString GetRowName(int group, int row) const = 0;
    virtual QString GetRowValue(int group, int row) const = 0;
    virtual void SetRowValue(int group, int row, const QString& value) = 0;
    virtual QString GetRowHelp(int group, int row) const = 0;
    // Fixed choices; an empty list means free text.
    virtual QStringList GetRowOptions(int group, int row) const = 0;
    virtual void SetRowOptions(int group, int row, const QStringList& options) = 0;

    virtual int GetSelectedGroup() const = 0; // -1 when nothing is selected
    virtual int GetSelectedRow() const = 0;
    virtual void SelectRow(int group, int row) = 0;

    virtual void RemoveAll() = 0;
    virtual void Redraw() = 0;

    // Index of the first row of a group with this name, or -1.
    int FindRow(int group, const QString& name) const;
};

} // namespace platform
