#pragma once
// EMF pages written by other libraries, each in its own source file since their headers
// bring Windows names of their own. Both pages are 100 mm square.
#include <QByteArray>
#include <QString>

namespace thirdparty {

// libEMF through its GDI calls: red text "libEMF 글자" at the top left, a blue rectangle
// (the middle of its upper right quarter) and a green ellipse (lower left quarter).
QByteArray libEmfPage(const QString& scratchFile);

// libUEMF: a 40 x 40 bottom-up 24-bit bitmap, left half red, right half blue, stretched
// with STRETCHDIBITS over (20, 20)-(120, 120) of a 96 dpi page.
QByteArray libUemfBitmapPage(const QString& scratchFile);

} // namespace thirdparty
