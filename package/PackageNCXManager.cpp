#include "package/PackageNCXManager.h"

#include "package/MetadataTables.h"
#include "package/XmlDocument.h"
#include "platform/controls/PropertyGrid.h"

#include <QList>

#include <utility>

using platform::TreeItem;

namespace {

bool sameElementName(const QString& a, const QString& b)
{
    return QString::compare(a, b, Qt::CaseInsensitive) == 0;
}

} // namespace

CPackageNCXManager::CPackageNCXManager() = default;
CPackageNCXManager::~CPackageNCXManager() = default;

QString CPackageNCXManager::NoticeText() { return QStringLiteral("navigation 정보가 없습니다."); }

QString CPackageNCXManager::Q(const QString& name) const
{
    return m_strPrefix.isEmpty() ? name : m_strPrefix + QLatin1Char(':') + name;
}

// An attribute's name as the file writes it: prefixed where the file prefixes it, else
// plain. Unprefixed attributes belong to no namespace, so files that prefix their elements
// (ncx:navPoint) mostly write plain id, playOrder and src. Which form the file uses is
// remembered so that saves write the attributes back the same way.
QString CPackageNCXManager::AttributeName(const CXmlNode& element, const QString& name)
{
    const QString qualified = Q(name);
    if (qualified != name && element.HasAttribute(qualified)) {
        m_bPrefixedAttributes = true;
        return qualified;
    }
    return name;
}

QString CPackageNCXManager::WrittenAttributeName(const QString& name) const
{
    return m_bPrefixedAttributes ? Q(name) : name;
}

// Descendants of the root whose name is Q(name), compared without regard to case, in
// document order. Walked without recursion so that deep files cannot exhaust the stack.
CXmlNodeList CPackageNCXManager::ElementsNamed(const QString& name) const
{
    CXmlNodeList out;
    if (m_rootElement.IsNull())
        return out;
    const QString wanted = Q(name);
    QList<std::pair<CXmlNodeList, qsizetype>> stack;
    stack.append({m_rootElement.GetChildElements(), 0});
    while (!stack.isEmpty()) {
        auto& [nodes, index] = stack.last();
        if (index >= nodes.size()) {
            stack.removeLast();
            continue;
        }
        const CXmlNode node = nodes[index++];
        if (sameElementName(node.GetName(), wanted))
            out.append(node);
        CXmlNodeList children = node.GetChildElements();
        if (!children.isEmpty())
            stack.append({std::move(children), 0});
    }
    return out;
}

bool CPackageNCXManager::LoadNcx(const QString& ncxFolder, const QString& ncxPath)
{
    m_strNcxPath = ncxPath;
    m_strNcxFolder = ncxFolder;
    m_rootElement = CXmlNode();
    m_pDocument = std::make_unique<CXmlDocument>();
    m_strPrefix.clear();
    m_strNamespace.clear();
    m_bPrefixedAttributes = false;
    if (!m_pDocument->Parse(ncxPath)) {
        m_pDocument.reset();
        return false;
    }
    m_rootElement = m_pDocument->GetDocumentElement();
    if (m_rootElement.IsNull())
        return false;

    const CXmlNodeList attributes = m_rootElement.GetAttributes();
    for (qsizetype i = attributes.size() - 1; i >= 0; --i) {
        const QString name = attributes[i].GetName();
        if (name.contains(QLatin1String("xmlns:"))) {
            m_strPrefix = name.mid(name.indexOf(QLatin1Char(':')) + 1);
            m_strNamespace = attributes[i].GetValue();
            break;
        }
    }

    const CXmlNodeList navMaps = ElementsNamed(QStringLiteral("navMap"));
    for (qsizetype i = navMaps.size() - 1; i >= 0; --i)
        FillFromNavMap(navMaps[i]);
    return true;
}

void CPackageNCXManager::FillFromNavMap(const CXmlNode& navMap)
{
    TreeItem titleItem = nullptr;
    if (m_pNavigationTree) {
        if (!m_pMetadataGrid || m_pMetadataGrid->GetGroupCount() < 1)
            return;
        const int row = m_pMetadataGrid->FindRow(0, MetadataTables::RequiredRowName(MetadataTables::ROW_TITLE));
        const QString title = row >= 0 ? m_pMetadataGrid->GetRowValue(0, row) : QString();
        if (!title.isEmpty())
            titleItem = m_pNavigationTree->InsertItem(title, NAV_TITLE);
        if (navMap.GetChildNodes().isEmpty() && titleItem)
            m_pNavigationTree->InsertItem(NoticeText(), NAV_NOTICE, titleItem);
    }
    for (const CXmlNode& child : navMap.GetChildElements()) {
        if (sameElementName(child.GetName(), Q(QStringLiteral("navPoint"))))
            ReadNavPoint(child, titleItem);
    }
}

// One navigation point with its nested points, in document order. Nesting is followed
// with an explicit stack: the depth of a table of contents comes from the book.
void CPackageNCXManager::ReadNavPoint(const CXmlNode& navPoint, TreeItem parent)
{
    struct Frame {
        CXmlNodeList children;
        qsizetype next = 0;
        TreeItem parentItem = nullptr; // A: where the point's entry item goes
        TreeItem pointItem = nullptr;  // the point's own entry item, once its label is read
        QString id;
        bool hasId = false;
    };
    platform::TreeControl* tree = m_pNavigationTree;
    auto insert = [tree](const QString& text, int image, TreeItem under) -> TreeItem {
        return tree ? tree->InsertItem(text, image, under) : nullptr;
    };
    auto enter = [this](const CXmlNode& point, TreeItem under) {
        Frame frame;
        frame.children = point.GetChildElements();
        frame.parentItem = under;
        const QString idName = AttributeName(point, QStringLiteral("id"));
        const QString playOrderName = AttributeName(point, QStringLiteral("playOrder"));
        frame.hasId = point.HasAttribute(idName);
        if (frame.hasId)
            frame.id = point.GetAttribute(idName);
        if (point.GetAttributes().size() >= 2 && frame.hasId && point.HasAttribute(playOrderName))
            m_playOrderTable.insert(point.GetAttribute(playOrderName), frame.id);
        return frame;
    };

    QList<Frame> stack;
    stack.append(enter(navPoint, parent));
    while (!stack.isEmpty()) {
        Frame& frame = stack.last();
        if (frame.next >= frame.children.size()) {
            stack.removeLast();
            continue;
        }
        const CXmlNode child = frame.children[frame.next++];
        const QString name = child.GetName();
        if (sameElementName(name, Q(QStringLiteral("navLabel")))) {
            const CXmlNodeList texts = child.GetChildElements();
            for (qsizetype i = texts.size() - 1; i >= 0; --i) {
                if (sameElementName(texts[i].GetName(), Q(QStringLiteral("text"))))
                    frame.pointItem = insert(texts[i].GetTextContent(), NAV_ENTRY, frame.parentItem);
            }
        } else if (sameElementName(name, Q(QStringLiteral("content")))) {
            const QString srcName = AttributeName(child, QStringLiteral("src"));
            if (!child.GetAttributes().isEmpty() && child.HasAttribute(srcName)) {
                const QString src = child.GetAttribute(srcName);
                if (frame.hasId)
                    m_sourceTable.insert(frame.id, src);
                insert(src, NAV_CONTENT, frame.pointItem);
            }
        } else if (sameElementName(name, Q(QStringLiteral("navPoint")))) {
            const TreeItem under = frame.pointItem;
            stack.append(enter(child, under)); // invalidates `frame`
        }
    }
}

bool CPackageNCXManager::SaveDocTitleAndAuthor()
{
    if (!m_pMetadataGrid || !m_pDocument || m_rootElement.IsNull() || m_pMetadataGrid->GetGroupCount() < 1)
        return false;
    const QString titleRow = MetadataTables::RequiredRowName(MetadataTables::ROW_TITLE);
    const QString authorRow = MetadataTables::RequiredRowName(MetadataTables::ROW_CREATOR);
    const int rows = m_pMetadataGrid->GetRowCount(0);
    for (int row = 0; row < rows; ++row) {
        const QString name = m_pMetadataGrid->GetRowName(0, row);
        if (name == titleRow)
            SetDocumentText(QStringLiteral("docTitle"), m_pMetadataGrid->GetRowValue(0, row));
        else if (name == authorRow)
            SetDocumentText(QStringLiteral("docAuthor"), m_pMetadataGrid->GetRowValue(0, row));
    }
    return m_pDocument->Write(m_strNcxPath);
}

void CPackageNCXManager::SetDocumentText(const QString& element, const QString& value)
{
    CXmlNodeList targets = ElementsNamed(element);
    if (targets.isEmpty()) {
        CXmlNode created = m_pDocument->CreateElement(Q(element));
        if (!created.IsNull()) {
            created = m_rootElement.AppendChild(created);
            CXmlNode text = m_pDocument->CreateElement(Q(QStringLiteral("text")));
            if (!text.IsNull())
                created.AppendChild(text);
        }
        targets = ElementsNamed(element);
    }
    for (const CXmlNode& target : targets) {
        for (CXmlNode text : target.GetChildElements()) {
            if (sameElementName(text.GetName(), Q(QStringLiteral("text"))))
                text.SetTextContent(value);
        }
    }
}

// A file without a navMap gets one, after docAuthor or else at the end of the root, so
// that the entries of the tree have a place to go.
CXmlNode CPackageNCXManager::EnsureNavMap()
{
    const CXmlNodeList navMaps = ElementsNamed(QStringLiteral("navMap"));
    if (!navMaps.isEmpty())
        return navMaps.first();
    CXmlNode created = m_pDocument->CreateElement(Q(QStringLiteral("navMap")));
    if (created.IsNull())
        return {};
    const CXmlNodeList authors = ElementsNamed(QStringLiteral("docAuthor"));
    if (!authors.isEmpty())
        return authors.first().GetParent().InsertChildAfter(created, authors.first());
    return m_rootElement.AppendChild(created);
}

bool CPackageNCXManager::SaveNavMap()
{
    platform::TreeControl* tree = m_pNavigationTree;
    if (!tree || !m_pDocument || m_rootElement.IsNull())
        return false;

    const CXmlNodeList navMaps = ElementsNamed(QStringLiteral("navMap"));
    for (qsizetype i = navMaps.size() - 1; i >= 0; --i) {
        CXmlNode navMap = navMaps[i];
        const CXmlNodeList children = navMap.GetChildElements();
        for (qsizetype j = children.size() - 1; j >= 0; --j)
            navMap.RemoveChild(children[j]);
    }

    // Elements are written with the file's own prefix: plain names in a prefixed file would
    // fall outside the NCX namespace, and no reader (this one included) would find them.
    // Attributes are written as the file wrote them.
    // Entries hang under the title item; a book without a title shows them at root level.
    TreeItem first = tree->GetRootItem();
    if (first && tree->GetItemImage(first) == NAV_TITLE)
        first = tree->GetChildItem(first);
    if (first) {
        CXmlNode navMap = EnsureNavMap();
        if (!navMap.IsNull()) {
            int counter = 1;
            QList<std::pair<TreeItem, CXmlNode>> stack;
            stack.append({first, navMap});
            while (!stack.isEmpty()) {
                auto [item, parentElement] = stack.takeLast();
                if (!item)
                    continue;
                stack.append({tree->GetNextSiblingItem(item), parentElement});
                // The notice only says that the book has no entries; it is never one.
                if (tree->GetItemImage(item) == NAV_NOTICE)
                    continue;
                TreeItem content = tree->GetChildItem(item);
                TreeItem subEntries = nullptr;
                if (content && tree->GetItemImage(content) != NAV_CONTENT) {
                    subEntries = content; // an entry without a content item
                    content = nullptr;
                } else if (content) {
                    subEntries = tree->GetNextSiblingItem(content);
                }

                const QString number = QString::number(counter++);
                CXmlNode point = m_pDocument->CreateElement(Q(QStringLiteral("navPoint")));
                CXmlNode label = m_pDocument->CreateElement(Q(QStringLiteral("navLabel")));
                CXmlNode text = m_pDocument->CreateElement(Q(QStringLiteral("text")));
                CXmlNode source = m_pDocument->CreateElement(Q(QStringLiteral("content")));
                if (point.IsNull() || label.IsNull() || text.IsNull() || source.IsNull())
                    continue;
                point.SetAttribute(WrittenAttributeName(QStringLiteral("id")), QStringLiteral("navPoint-") + number);
                point.SetAttribute(WrittenAttributeName(QStringLiteral("playOrder")), number);
                point = parentElement.AppendChild(point);
                text.SetTextContent(tree->GetItemText(item));
                label = point.AppendChild(label);
                label.AppendChild(text);
                source.SetAttribute(WrittenAttributeName(QStringLiteral("src")), content ? tree->GetItemText(content) : QString());
                point.AppendChild(source);
                if (subEntries)
                    stack.append({subEntries, point});
            }
        }
    }
    return m_pDocument->Write(m_strNcxPath);
}

QString CPackageNCXManager::GetFirstPlayOrderSource(QString& id) const
{
    id = m_playOrderTable.value(QStringLiteral("1"));
    return m_sourceTable.value(id);
}
