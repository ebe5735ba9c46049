#pragma once
#include <QString>

// The editor's title: the caption of the messages shown here.
inline QString ApplicationTitle() { return QStringLiteral("Tolvo maker 편집툴"); }
