#pragma once
// "스타일 목록": twenty fixed paragraph styles and paragraph commands. A click applies the
// clicked row to the chapter open in the editing view, by its index.
#include <QWidget>

class CPaneHost;
class QTreeWidget;

class CStyleView : public QWidget {
    Q_OBJECT
public:
    static constexpr int kListId = 2;
    static constexpr int kEntryCount = 20;

    explicit CStyleView(CPaneHost& host, QWidget* parent = nullptr);

    QTreeWidget* List() const { return m_pList; }
    // What a click in the list does once the list has selected the row.
    void OnClick();

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CPaneHost& m_host;
    QTreeWidget* m_pList = nullptr;
};
