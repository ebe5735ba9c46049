#pragma once
#include <QIcon>

// The ribbon's picture of a command: drawn for the formatting commands, the desktop's own
// icons for the file and window commands.
QIcon CommandIcon(int id);
