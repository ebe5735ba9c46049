#pragma once
// The template chooser's icon list: its selected row is the list's input (a script picks a
// thumbnail by row), and the chooser places its items.
#include <QListWidget>

class CThumbnailList : public QListWidget {
    Q_OBJECT
    Q_PROPERTY(int selectedRow READ SelectedRow WRITE SelectRow USER true)
public:
    using QListWidget::QListWidget;

    // -1 while no item is selected.
    int SelectedRow() const;
    void SelectRow(int row);
    // Moves an item across, keeping the height the list gave it.
    void PlaceItem(int row, int x);
};
