#pragma once
// The manifest pane "파일 목록 보기": the tree (control id 2) where the book's file list
// lives while the book is open. The frame creates it hidden and disabled; it has no
// toolbar and no menu, and handles no commands.
#include "panes/TreePane.h"

class CManiView : public CTreePane {
    Q_OBJECT
public:
    static constexpr int kTreeId = 2;

    explicit CManiView(QWidget* parent = nullptr);
};
