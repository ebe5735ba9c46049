#pragma once
// "출판 정보 관리": the book's publication data in a property grid (control id 2) under a
// two-button toolbar. The grid holds the metadata while the book is open; the package
// model fills it after opening and reads it when saving.
#include <QWidget>

class CPaneHost;
class CPropertiesToolBar;

namespace platform { class QtPropertyGrid; }

class CPropertiesWnd : public QWidget {
    Q_OBJECT
public:
    static constexpr int kGridId = 2;

    explicit CPropertiesWnd(CPaneHost& host, QWidget* parent = nullptr);

    platform::QtPropertyGrid* Grid() const { return m_pGrid; }
    CPropertiesToolBar* ToolBar() const { return m_pToolBar; }

    // Both groups afresh, with their initial values.
    void ResetGrid();
    void OnCommand(int id);
    // Adds the additional item chosen in the picker, unless the grid has it already.
    void OnAddItem();
    // Deletes the selected additional item after asking; required items stay.
    void OnDeleteItem();

protected:
    bool event(QEvent* event) override;

private:
    void UseMessageFont();

    CPaneHost& m_host;
    CPropertiesToolBar* m_pToolBar = nullptr;
    platform::QtPropertyGrid* m_pGrid = nullptr;
};
