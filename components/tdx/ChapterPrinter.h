#pragma once
// Prints a document on the page setup's paper, inside its margins.
#include "components/tdx/PageGeometry.h"

class QPrinter;
class QTextDocument;

namespace tdx {

// The page setup's paper and margins as the printer's page layout.
void applyPageSetup(QPrinter& printer, const PageGeometry& page);
// Prints the document (laid out anew at the printer's text area) page by page; false when
// the printer cannot be printed on.
bool printDocument(QTextDocument& document, QPrinter& printer);

} // namespace tdx
