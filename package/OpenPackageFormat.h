#pragma once
// The package document (OPF) of the open book, shared by the managers that read and write it.
#include "package/OPFManager.h"
#include "package/XmlDocument.h"

#include <QString>

#include <memory>

class COpenPackageFormat {
public:
    COpenPackageFormat();
    virtual ~COpenPackageFormat();
    COpenPackageFormat(const COpenPackageFormat&) = delete;
    COpenPackageFormat& operator=(const COpenPackageFormat&) = delete;

    // Parses the package document and loads manifest, spine and NCX from it. False, with
    // nothing filled, when the file cannot be parsed or has no root element.
    bool LoadPackageDocument(const QString& packagePath);

    // The folder every path read from this book must stay in, and that closing may clean.
    void SetWorkFolder(const QString& folder);

    // The folder of the package document, ending in "/"; hrefs are relative to it.
    const QString& GetPackageFolder() const { return m_strPackageFolder; }
    const QString& GetPackagePath() const { return m_strPackagePath; }
    COPFManager& GetOPFManager() { return m_opfManager; }
    const COPFManager& GetOPFManager() const { return m_opfManager; }
    const std::shared_ptr<CXmlDocument>& GetDocument() const { return m_pDocument; }

private:
    std::shared_ptr<CXmlDocument> m_pDocument;
    CXmlNode m_rootElement;
    COPFManager m_opfManager;
    QString m_strPackageFolder;
    QString m_strPackagePath;
};
