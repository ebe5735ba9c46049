#include "package/RootFileManager.h"

namespace {
constexpr const char* kPackageMediaType = "application/oebps-package+xml";
}

CRootFileManager::CRootFileManager() = default;

CRootFileManager::~CRootFileManager() { Release(); }

void CRootFileManager::Release()
{
    m_rootFiles.clear();
    m_rootElement = CXmlNode();
    m_pDocument.reset();
}

bool CRootFileManager::LoadContainer(const QString& path)
{
    Release();
    auto document = std::make_unique<CXmlDocument>();
    if (!document->Parse(path))
        return false;
    m_pDocument = std::move(document);
    m_rootElement = m_pDocument->GetDocumentElement();
    m_rootFiles = m_rootElement.GetElementsByTagName(QStringLiteral("rootfile"));
    return !m_rootFiles.isEmpty();
}

void CRootFileManager::GetPackagePath(QString& packagePath) const
{
    for (const CXmlNode& rootFile : m_rootFiles) {
        const CXmlNode mediaType = rootFile.GetAttributeNode(QStringLiteral("media-type"));
        if (mediaType.IsNull() || mediaType.GetValue() != QLatin1String(kPackageMediaType))
            continue;
        packagePath = rootFile.GetAttribute(QStringLiteral("full-path"));
        return;
    }
}
