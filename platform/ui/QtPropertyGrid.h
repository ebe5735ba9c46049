#pragma once
#include "platform/controls/PropertyGrid.h"

#include <QWidget>

class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

namespace platform {

// The property grid on screen: groups as bold header rows, each row with its name and an
// editable value (a fixed-choice list for rows with options), and a description area that
// shows the help text of the selected row.
class QtPropertyGrid : public QWidget, public PropertyGrid {
    Q_OBJECT
public:
    explicit QtPropertyGrid(QWidget* parent = nullptr);

    void SetDescriptionVisible(bool visible);
    QString descriptionText() const; // what the description area shows now
    QTreeWidget* treeWidget() const { return m_tree; }

    int AddGroup(const QString& name) override;
    int GetGroupCount() const override;
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

    int GetSelectedGroup() const override;
    int GetSelectedRow() const override;
    void SelectRow(int group, int row) override;

    void RemoveAll() override;
    void Redraw() override;

signals:
    // The user changed a value in the grid.
    void valueEdited(int group, int row);

private:
    QTreeWidgetItem* groupItem(int group) const;
    QTreeWidgetItem* rowItem(int group, int row) const;
    void showDescription(QTreeWidgetItem* item);

    QTreeWidget* m_tree;
    QLabel* m_description;
    bool m_settingValue = false;
};

} // namespace platform
