#pragma once
#include <QString>

// Texts the editor looks up by their resource ids (pane captions, menu texts).
class CStringTable {
public:
    static QString Load(int id);
};
