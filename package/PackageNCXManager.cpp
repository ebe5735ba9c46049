#include "package/PackageNCXManager.h"

#include "package/ChildLayout.h"
#include "package/MetadataTables.h"
#include "package/XmlDocument.h"
#include "platform/controls/PropertyGrid.h"
#include "platform/core/LongWork.h"

#include <QList>
#include <QSet>

#include <algorithm>
#include <limits>
#include <vector>

#include <utility>

using platform::TreeItem;

namespace {

const QString kNcxNamespace = QStringLiteral("http://www.daisy.org/z3986/2005/ncx");

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
    platform::LongWorkStep();

    // Names carry a prefix only where the root itself is written with the prefix bound to
    // the NCX namespace; any other declaration (xmlns:xsi, say) says nothing about them.
    const QString rootName = m_rootElement.GetName();
    for (const CXmlNode& attribute : m_rootElement.GetAttributes()) {
        const QString name = attribute.GetName();
        if (!name.startsWith(QLatin1String("xmlns:")) || !attribute.GetValue().startsWith(kNcxNamespace))
            continue;
        const QString prefix = name.mid(6);
        if (rootName.compare(prefix + QStringLiteral(":ncx"), Qt::CaseInsensitive) == 0) {
            m_strPrefix = prefix;
            m_strNamespace = attribute.GetValue();
            break;
        }
    }
    m_navPoints.clear();
    m_nNextId = 1;
    if (m_pMetadataGrid && m_pMetadataGrid->GetGroupCount() > 0) {
        m_strLoadedTitle = m_pMetadataGrid->GetRowValue(0, m_pMetadataGrid->FindRow(0, MetadataTables::RequiredRowName(MetadataTables::ROW_TITLE)));
        m_strLoadedAuthor = m_pMetadataGrid->GetRowValue(0, m_pMetadataGrid->FindRow(0, MetadataTables::RequiredRowName(MetadataTables::ROW_CREATOR)));
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
        quintptr origin = 0; // index + 1 in m_navPoints
    };
    platform::TreeControl* tree = m_pNavigationTree;
    auto insert = [tree](const QString& text, int image, TreeItem under) -> TreeItem {
        return tree ? tree->InsertItem(text, image, under) : nullptr;
    };
    auto enter = [this](const CXmlNode& point, TreeItem under) {
        Frame frame;
        frame.children = point.GetChildElements();
        frame.parentItem = under;
        m_navPoints.append(point);
        frame.origin = quintptr(m_navPoints.size());
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
                if (sameElementName(texts[i].GetName(), Q(QStringLiteral("text")))) {
                    frame.pointItem = insert(texts[i].GetTextContent(), NAV_ENTRY, frame.parentItem);
                    if (tree && frame.pointItem)
                        tree->SetItemData(frame.pointItem, frame.origin);
                }
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
    // Only what the user changed: a book's own docTitle stays when its title row was not
    // touched, or was left empty.
    for (int row = 0; row < rows; ++row) {
        const QString name = m_pMetadataGrid->GetRowName(0, row);
        const QString value = m_pMetadataGrid->GetRowValue(0, row);
        if (value.isEmpty())
            continue;
        if (name == titleRow && value != m_strLoadedTitle)
            SetDocumentText(QStringLiteral("docTitle"), value);
        else if (name == authorRow && value != m_strLoadedAuthor)
            SetDocumentText(QStringLiteral("docAuthor"), value);
    }
    return m_pDocument->Write(m_strNcxPath);
}

// The first child of the root named by one of `names` (through Q), or null.
CXmlNode CPackageNCXManager::RootChildNamed(const QStringList& names) const
{
    for (const CXmlNode& child : m_rootElement.GetChildElements()) {
        for (const QString& name : names) {
            if (sameElementName(child.GetName(), Q(name)))
                return child;
        }
    }
    return {};
}

// Sets the text of the first element T. A missing one is made where the schema wants it:
// docTitle after head, docAuthor after docTitle, both before navMap.
void CPackageNCXManager::SetDocumentText(const QString& element, const QString& value)
{
    CXmlNode target = RootChildNamed({element});
    if (target.IsNull()) {
        const QStringList following = element == QLatin1String("docTitle")
            ? QStringList{QStringLiteral("docAuthor"), QStringLiteral("navMap"), QStringLiteral("pageList"), QStringLiteral("navList")}
            : QStringList{QStringLiteral("navMap"), QStringLiteral("pageList"), QStringLiteral("navList")};
        target = m_pDocument->CreateElement(Q(element));
        if (target.IsNull())
            return;
        target = ChildLayout::InsertIndented(*m_pDocument, m_rootElement, target, RootChildNamed(following));
    }
    CXmlNode text;
    for (const CXmlNode& child : target.GetChildElements()) {
        if (sameElementName(child.GetName(), Q(QStringLiteral("text")))) {
            text = child;
            break;
        }
    }
    if (text.IsNull()) {
        text = m_pDocument->CreateElement(Q(QStringLiteral("text")));
        if (text.IsNull())
            return;
        text = ChildLayout::InsertIndented(*m_pDocument, target, text, target.GetFirstChildElement());
    }
    text.SetTextContent(value);
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
    return ChildLayout::InsertIndented(*m_pDocument, m_rootElement, created,
                                       RootChildNamed({QStringLiteral("pageList"), QStringLiteral("navList")}));
}

QString CPackageNCXManager::FreshNavPointId(QSet<QString>& taken)
{
    if (taken.isEmpty()) {
        for (const CXmlNode& point : ElementsNamed(QStringLiteral("navPoint")))
            taken.insert(point.GetAttribute(AttributeName(point, QStringLiteral("id"))));
    }
    QString id;
    do
        id = QStringLiteral("navPoint-") + QString::number(m_nNextId++);
    while (taken.contains(id));
    taken.insert(id);
    return id;
}

QString CPackageNCXManager::GetLastWriteError() const
{
    return m_pDocument ? m_pDocument->LastWriteError() : QString();
}

bool CPackageNCXManager::SaveNavMap()
{
    platform::TreeControl* tree = m_pNavigationTree;
    if (!tree || !m_pDocument || m_rootElement.IsNull())
        return false;

    // Entries hang under the title item; a book without a title shows them at root level.
    TreeItem first = tree->GetRootItem();
    if (first && tree->GetItemImage(first) == NAV_TITLE)
        first = tree->GetChildItem(first);
    CXmlNode navMap = ElementsNamed(QStringLiteral("navMap")).value(0);
    if (navMap.IsNull() && first)
        navMap = EnsureNavMap();
    if (navMap.IsNull())
        return m_pDocument->Write(m_strNcxPath);

    const QString navPointName = Q(QStringLiteral("navPoint"));
    auto firstChildNamed = [this](const CXmlNode& parent, const QString& name) {
        for (const CXmlNode& child : parent.GetChildElements()) {
            if (sameElementName(child.GetName(), Q(name)))
                return child;
        }
        return CXmlNode();
    };

    // What the tree asks for: each entry's point (the one it was read from, else a new one)
    // under its parent, in tree order.
    bool changed = false;
    QSet<QString> takenIds;
    QSet<pugi::xml_node_struct*> used;
    QHash<pugi::xml_node_struct*, CXmlNodeList> wanted; // parent -> its navPoint children
    QList<CXmlNode> parents{navMap};
    CXmlNodeList inOrder;
    QList<std::pair<TreeItem, CXmlNode>> stack{{first, navMap}};
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
        const QString label = tree->GetItemText(item);
        const QString src = content ? tree->GetItemText(content) : QString();

        const quintptr origin = tree->GetItemData(item);
        CXmlNode point = origin > 0 && origin <= quintptr(m_navPoints.size()) ? m_navPoints[qsizetype(origin - 1)] : CXmlNode();
        if (!point.IsNull() && (point.GetParent().IsNull() || used.contains(point.raw().internal_object())))
            point = CXmlNode(); // gone with its parent, or already taken by a copy of the entry
        if (point.IsNull()) {
            point = m_pDocument->CreateElement(navPointName);
            if (point.IsNull())
                continue;
            point.SetAttribute(WrittenAttributeName(QStringLiteral("id")), FreshNavPointId(takenIds));
            point.SetAttribute(WrittenAttributeName(QStringLiteral("playOrder")), QString());
            m_navPoints.append(point);
            tree->SetItemData(item, quintptr(m_navPoints.size()));
            changed = true;
        }
        used.insert(point.raw().internal_object());

        CXmlNode navLabel = firstChildNamed(point, QStringLiteral("navLabel"));
        if (navLabel.IsNull()) {
            navLabel = m_pDocument->CreateElement(Q(QStringLiteral("navLabel")));
            navLabel = ChildLayout::InsertIndented(*m_pDocument, point, navLabel, point.GetFirstChildElement());
        }
        CXmlNode text = firstChildNamed(navLabel, QStringLiteral("text"));
        if (text.IsNull()) {
            text = m_pDocument->CreateElement(Q(QStringLiteral("text")));
            text = navLabel.InsertChildBefore(text, navLabel.GetFirstChildElement());
        }
        if (text.GetTextContent() != label) {
            text.SetTextContent(label);
            changed = true;
        }
        CXmlNode source = firstChildNamed(point, QStringLiteral("content"));
        if (source.IsNull()) {
            source = m_pDocument->CreateElement(Q(QStringLiteral("content")));
            source = ChildLayout::InsertIndented(*m_pDocument, point, source, firstChildNamed(point, QStringLiteral("navPoint")));
            changed = true;
        }
        const QString srcName = AttributeName(source, QStringLiteral("src"));
        if (!source.HasAttribute(srcName) || source.GetAttribute(srcName) != src) {
            source.SetAttribute(srcName.isEmpty() ? WrittenAttributeName(QStringLiteral("src")) : srcName, src);
            changed = true;
        }
        wanted[parentElement.raw().internal_object()].append(point);
        parents.append(point);
        inOrder.append(point);
        if (subEntries)
            stack.append({subEntries, point});
    }

    // Which parents now hold other points, or in another order, than the file has.
    QList<std::pair<CXmlNode, CXmlNodeList>> rearranged;
    for (const CXmlNode& parent : std::as_const(parents)) {
        const CXmlNodeList& points = wanted[parent.raw().internal_object()];
        CXmlNodeList current;
        CXmlNodeList others;
        for (const CXmlNode& child : parent.GetChildElements())
            (sameElementName(child.GetName(), navPointName) ? current : others).append(child);
        if (current == points)
            continue;
        rearranged.append({parent, others + points});
        changed = true;
    }
    // The other navMaps' points were shown with the first's; they are written there.
    const CXmlNodeList navMaps = ElementsNamed(QStringLiteral("navMap"));
    for (qsizetype i = 1; i < navMaps.size(); ++i) {
        CXmlNodeList others;
        for (const CXmlNode& child : navMaps[i].GetChildElements()) {
            if (!sameElementName(child.GetName(), navPointName))
                others.append(child);
        }
        if (others.size() != navMaps[i].GetChildElements().size()) {
            rearranged.append({navMaps[i], others});
            changed = true;
        }
    }
    if (!changed)
        return m_pDocument->Write(m_strNcxPath);

    // Points that change parent are lifted out first, so that no rearrangement removes one
    // that is still wanted elsewhere.
    for (const auto& [parent, children] : std::as_const(rearranged)) {
        for (const CXmlNode& child : children) {
            if (child.GetParent() != parent)
                m_pDocument->Detach(child);
        }
    }
    for (const auto& [parent, children] : std::as_const(rearranged))
        ChildLayout::ArrangeChildElements(*m_pDocument, parent, children);
    RenumberPlayOrder(inOrder);
    return m_pDocument->Write(m_strNcxPath);
}

// Numbers the navigation points 1, 2, 3 ... in tree order, with each page or navigation
// target placed after the point that came before it in the old reading order.
void CPackageNCXManager::RenumberPlayOrder(const CXmlNodeList& navPoints)
{
    auto oldOrder = [this](const CXmlNode& element) {
        bool ok = false;
        const int value = element.GetAttribute(AttributeName(element, QStringLiteral("playOrder"))).toInt(&ok);
        return ok ? value : -1;
    };
    std::vector<std::pair<int, qsizetype>> byOldOrder; // (old playOrder, index in navPoints)
    for (qsizetype i = 0; i < navPoints.size(); ++i) {
        const int old = oldOrder(navPoints[i]);
        if (old >= 0)
            byOldOrder.emplace_back(old, i);
    }
    std::sort(byOldOrder.begin(), byOldOrder.end());
    CXmlNodeList targets = ElementsNamed(QStringLiteral("pageTarget"));
    targets += ElementsNamed(QStringLiteral("navTarget"));
    QList<CXmlNodeList> after(navPoints.size() + 1); // [0]: before every point
    for (const CXmlNode& target : std::as_const(targets)) {
        if (!target.HasAttribute(AttributeName(target, QStringLiteral("playOrder"))))
            continue;
        const int old = oldOrder(target);
        auto found = std::upper_bound(byOldOrder.begin(), byOldOrder.end(),
                                      std::pair<int, qsizetype>(old, std::numeric_limits<qsizetype>::max()));
        after[found == byOldOrder.begin() ? 0 : std::prev(found)->second + 1].append(target);
    }
    for (CXmlNodeList& bucket : after)
        std::stable_sort(bucket.begin(), bucket.end(), [&oldOrder](const CXmlNode& a, const CXmlNode& b) {
            return oldOrder(a) < oldOrder(b);
        });
    int counter = 1;
    auto number = [this, &counter](CXmlNode element) {
        element.SetAttribute(AttributeName(element, QStringLiteral("playOrder")), QString::number(counter++));
    };
    for (const CXmlNode& target : std::as_const(after[0]))
        number(target);
    for (qsizetype i = 0; i < navPoints.size(); ++i) {
        number(navPoints[i]);
        for (const CXmlNode& target : std::as_const(after[i + 1]))
            number(target);
    }
}

QString CPackageNCXManager::GetFirstPlayOrderSource(QString& id) const
{
    id = m_playOrderTable.value(QStringLiteral("1"));
    return m_sourceTable.value(id);
}
