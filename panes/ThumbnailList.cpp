#include "panes/ThumbnailList.h"

int CThumbnailList::SelectedRow() const
{
    const QList<QListWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? -1 : row(selected.first());
}

void CThumbnailList::SelectRow(int row)
{
    if (row < 0 || row >= count())
        clearSelection();
    else
        setCurrentRow(row);
}

void CThumbnailList::PlaceItem(int row, int x)
{
    const QModelIndex index = model()->index(row, 0);
    setPositionForIndex(QPoint(x, visualRect(index).y() + verticalOffset()), index);
}
