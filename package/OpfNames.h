#pragma once
// Element names of the package document. Names are matched as written, without namespace
// processing; a package whose root carries a prefix bound to the OPF namespace
// ("opf:package") names its manifest and spine with that prefix, and is read as well.
#include "package/XmlNode.h"

#include <QString>

// "opf:" (the prefix with its colon) when the root element is prefixed and declares that
// prefix for the OPF namespace, else empty.
QString GetOpfPrefix(const CXmlNode& rootElement);

// Elements below `rootElement` named `localName`, written plainly or with `prefix`.
CXmlNodeList GetOpfElements(const CXmlNode& rootElement, const QString& prefix, const QString& localName);
