#pragma once
// Equations typed in a small linear syntax and drawn as a picture:
//   x^2  x^{n+1}  a_i  a_{ij}    superscript and subscript (one item, or a {group})
//   frac{a}{b}                     fraction
//   sqrt{x}                        square root
//   alpha beta ... omega, Delta, Sigma, Omega, pi, inf, sum, int, pm, times, cdot, le, ge, ne
//                                  named symbols
// Everything else is drawn as typed; single letters in italics.
#include <QImage>
#include <QString>

namespace tdx {

// The equation drawn black on white at the given text size. Null for an empty source.
QImage renderEquation(const QString& source, int pixelSize = 20);

} // namespace tdx
