#pragma once
#include "platform/controls/PropertyGrid.h"

#include <QList>

namespace platform {

// A property grid without a screen, for headless programs and tests.
class MemoryGrid : public PropertyGrid {
public:
    int AddGroup(const QString& name) override;
    int GetGroupCount() const override { return int(m_groups.size()); }
    QString GetGroupName(int group) const override;
    void CollapseGroup(int group) override;
    void ExpandGroup(int group) override;
    bool IsGroupExpanded(int group) const override;

    int GetRowCount(int group) const override;
    int AddRow(int group, const QString& name, const QString& value, const QString& help) override;
    bool RemoveRow(int group, int row) override;
    QString GetRowName(int group, int row) const override;
    QString GetRowValue(int group, int row) const override;
    void SetRowValue(int group, int row, const QString& value) override;
    QString GetRowHelp(int group, int row) const override;
    QStringList GetRowOptions(int group, int row) const override;
    void SetRowOptions(int group, int row, const QStringList& options) override;

    int GetSelectedGroup() const override { return m_selectedGroup; }
    int GetSelectedRow() const override { return m_selectedRow; }
    void SelectRow(int group, int row) override;

    void RemoveAll() override;
    void Redraw() override { ++m_redraws; }
    int redrawCount() const { return m_redraws; }

private:
    struct Row {
        QString name, value, help;
        QStringList options;
    };
    struct Group {
        QString name;
        bool expanded = true;
        QList<Row> rows;
    };
    const Row* row(int group, int row) const;
    Row* row(int group, int row);

    QList<Group> m_groups;
    int m_selectedGroup = -1;
    int m_selectedRow = -1;
    int m_redraws = 0;
};

} // namespace platform
