#pragma once
// Reads META-INF/container.xml and names the package document it points at.
#include "package/XmlDocument.h"

#include <QString>

#include <memory>

class CRootFileManager {
public:
    CRootFileManager();
    virtual ~CRootFileManager();
    CRootFileManager(const CRootFileManager&) = delete;
    CRootFileManager& operator=(const CRootFileManager&) = delete;

    // Parses the container document; true when it has at least one rootfile element.
    bool LoadContainer(const QString& path);
    // The full-path of the first rootfile, in document order, whose media-type is exactly
    // the package document's. `packagePath` stays as it was when none matches.
    void GetPackagePath(QString& packagePath) const;

private:
    void Release();

    std::unique_ptr<CXmlDocument> m_pDocument;
    CXmlNode m_rootElement;
    CXmlNodeList m_rootFiles;
};
