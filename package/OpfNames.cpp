#include "package/OpfNames.h"

namespace {
constexpr const char* kOpfNamespace = "http://www.idpf.org/2007/opf";
}

QString GetOpfPrefix(const CXmlNode& rootElement)
{
    const QString name = rootElement.GetName();
    const qsizetype colon = name.indexOf(QLatin1Char(':'));
    if (colon <= 0)
        return QString();
    const QString prefix = name.left(colon);
    if (rootElement.GetAttribute(QStringLiteral("xmlns:") + prefix) != QLatin1String(kOpfNamespace))
        return QString();
    return prefix + QLatin1Char(':');
}

CXmlNodeList GetOpfElements(const CXmlNode& rootElement, const QString& prefix, const QString& localName)
{
    if (prefix.isEmpty())
        return rootElement.GetElementsByTagName(localName);
    const QString prefixedName = prefix + localName;
    // Depth first in document order, with an explicit stack: the file may nest deeply.
    CXmlNodeList found;
    QList<CXmlNode> pending;
    const CXmlNodeList top = rootElement.GetChildNodes();
    for (qsizetype i = top.size() - 1; i >= 0; --i)
        pending.append(top[i]);
    while (!pending.isEmpty()) {
        const CXmlNode node = pending.takeLast();
        if (node.GetType() != CXmlNode::NODE_ELEMENT)
            continue;
        const QString name = node.GetName();
        if (name == localName || name == prefixedName)
            found.append(node);
        const CXmlNodeList children = node.GetChildNodes();
        for (qsizetype i = children.size() - 1; i >= 0; --i)
            pending.append(children[i]);
    }
    return found;
}
