#include "package/OpenPackageFormat.h"

#include "platform/core/LongWork.h"

COpenPackageFormat::COpenPackageFormat() = default;

COpenPackageFormat::~COpenPackageFormat() = default;

void COpenPackageFormat::SetWorkFolder(const QString& folder)
{
    m_opfManager.GetManifestManager().SetWorkFolder(folder);
}

bool COpenPackageFormat::LoadPackageDocument(const QString& packagePath)
{
    m_strPackagePath = packagePath;
    m_rootElement = CXmlNode();
    m_pDocument.reset();

    auto document = std::make_shared<CXmlDocument>();
    if (!document->Parse(packagePath))
        return false;
    m_pDocument = document;
    m_rootElement = m_pDocument->GetDocumentElement();
    if (m_rootElement.IsNull())
        return false;
    platform::LongWorkStep();

    m_strPackageFolder = packagePath.left(packagePath.lastIndexOf(QLatin1Char('/')) + 1);
    m_opfManager.Load(m_pDocument, m_strPackageFolder, m_strPackagePath);
    return true;
}
