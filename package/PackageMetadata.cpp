#include "package/PackageMetadata.h"

#include "package/MetadataTables.h"
#include "package/OpfNames.h"
#include "package/XmlDocument.h"
#include "platform/controls/PropertyGrid.h"

using namespace MetadataTables;

namespace {

enum ElementCode {
    CODE_TITLE = 0, CODE_CREATOR = 1, CODE_PUBLISHER = 2, CODE_DATE = 3, CODE_IDENTIFIER = 4,
    CODE_TYPE = 6, CODE_LANGUAGE = 7,
    CODE_SUBJECT = 10, CODE_CONTRIBUTOR = 11, CODE_SOURCE = 12, CODE_RELATION = 13,
    CODE_COVERAGE = 14, CODE_RIGHTS = 15, CODE_DESCRIPTION = 16, CODE_META = 17,
    CODE_NONE = -1
};

struct TagName {
    const char* name;
    int code;
};

const TagName kTagNames[] = {
    {"title", CODE_TITLE},         {"creator", CODE_CREATOR},   {"publisher", CODE_PUBLISHER},
    {"date", CODE_DATE},           {"identifier", CODE_IDENTIFIER}, {"type", CODE_TYPE},
    {"language", CODE_LANGUAGE},   {"subject", CODE_SUBJECT},   {"contributor", CODE_CONTRIBUTOR},
    {"source", CODE_SOURCE},       {"relation", CODE_RELATION}, {"coverage", CODE_COVERAGE},
    {"rights", CODE_RIGHTS},       {"description", CODE_DESCRIPTION},
};

const QString kDublinCoreNamespace = QStringLiteral("http://purl.org/dc/elements/1.1");
const QString kOpfNamespace = QStringLiteral("http://www.idpf.org/2007/opf");

// The prefix an element's own attributes bind to the Dublin Core namespace, or a null
// string. With several such declarations the first one written counts.
QString dublinCorePrefixDeclaredOn(const CXmlNode& element)
{
    for (const CXmlNode& attribute : element.GetAttributes()) {
        const QString name = attribute.GetName();
        if (name.contains(QLatin1String("xmlns:")) && attribute.GetValue().contains(kDublinCoreNamespace))
            return name.section(QLatin1Char(':'), 1, 1);
    }
    return {};
}

// The saves write "dc:" names, so that prefix must be bound where they land. Books that
// declare it only on each dc element (or not at all) get the declaration on metadata.
void declareDublinCorePrefix(CXmlNode metadata)
{
    for (CXmlNode node = metadata; node.GetType() == CXmlNode::NODE_ELEMENT; node = node.GetParent()) {
        if (node.HasAttribute(QStringLiteral("xmlns:dc")))
            return;
    }
    metadata.SetAttribute(QStringLiteral("xmlns:dc"), QStringLiteral("http://purl.org/dc/elements/1.1/"));
}

// The prefix (with its colon) of the package vocabulary's attributes, such as "opf:scheme":
// a scheme or role written without it belongs to no vocabulary and readers ignore it. The
// prefix the file binds to the OPF namespace is used; without one, "opf" is declared on
// the metadata element.
QString opfAttributePrefix(CXmlNode metadata)
{
    for (CXmlNode node = metadata; node.GetType() == CXmlNode::NODE_ELEMENT; node = node.GetParent()) {
        for (const CXmlNode& attribute : node.GetAttributes()) {
            const QString name = attribute.GetName();
            if (name.startsWith(QLatin1String("xmlns:")) && attribute.GetValue() == kOpfNamespace)
                return name.mid(6) + QLatin1Char(':');
        }
    }
    metadata.SetAttribute(QStringLiteral("xmlns:opf"), kOpfNamespace);
    return QStringLiteral("opf:");
}

// Element names written by the saves: always with the "dc" prefix.
int writtenCode(const QString& name)
{
    if (name == QLatin1String("meta"))
        return CODE_META;
    if (!name.startsWith(QLatin1String("dc:")))
        return CODE_NONE;
    const QString local = name.mid(3);
    for (const TagName& tag : kTagNames) {
        if (local == QLatin1String(tag.name))
            return tag.code;
    }
    return CODE_NONE;
}

const AdditionalItem* itemWithRole(const QString& element, const QString& role)
{
    for (const AdditionalItem& entry : AdditionalItems()) {
        if (entry.element == element && entry.role == role)
            return &entry;
    }
    return nullptr;
}

// The additional item an element is shown as, or none. The optional save removes exactly
// the elements this accepts, so what is shown is replaced and nothing else is touched.
const AdditionalItem* additionalItemOf(int code, const CXmlNode& element)
{
    const QList<AdditionalItem>& items = AdditionalItems();
    switch (code) {
    case CODE_SUBJECT: return &items[0];
    case CODE_SOURCE: return &items[3];
    case CODE_RELATION: return &items[4];
    case CODE_COVERAGE: return &items[5];
    case CODE_RIGHTS: return &items[6];
    case CODE_DESCRIPTION: return &items[7];
    case CODE_CONTRIBUTOR: {
        const AdditionalItem* found = nullptr;
        for (const CXmlNode& attribute : element.GetAttributes()) {
            if (const AdditionalItem* entry = itemWithRole(QStringLiteral("dc:contributor"), attribute.GetValue()))
                found = entry;
        }
        return found;
    }
    case CODE_META: {
        const AdditionalItem* found = nullptr;
        for (const CXmlNode& attribute : element.GetAttributes()) {
            if (attribute.GetName() == QLatin1String("content"))
                continue;
            found = itemWithRole(QStringLiteral("meta"), attribute.GetValue());
        }
        return found;
    }
    default: return nullptr;
    }
}

bool hasAttributeValue(const CXmlNode& element, const QString& value)
{
    for (const CXmlNode& attribute : element.GetAttributes()) {
        if (attribute.GetValue() == value)
            return true;
    }
    return false;
}

QString requiredElementName(const QString& rowName)
{
    static const char* const names[REQUIRED_ROW_COUNT] = {
        "dc:title", "dc:creator", "dc:publisher", "dc:date",
        "dc:identifier", "dc:identifier", "dc:type", "dc:language"};
    for (int row = 0; row < REQUIRED_ROW_COUNT; ++row) {
        if (rowName == RequiredRowName(row))
            return QString::fromLatin1(names[row]);
    }
    return {};
}

} // namespace

CPackageMetadata::CPackageMetadata() = default;
CPackageMetadata::~CPackageMetadata() = default;

void CPackageMetadata::LoadMetadata(const std::shared_ptr<CXmlDocument>& document, const QString& packagePath)
{
    m_pDocument = document;
    m_rootElement = document ? document->GetDocumentElement() : CXmlNode();
    m_strPackagePath = packagePath;
    m_records.clear();
    m_tagTable.clear();
    if (m_rootElement.IsNull())
        return;

    // A package written with a prefix ("opf:metadata") is read like the manifest and spine.
    const CXmlNodeList metadataElements
        = GetOpfElements(m_rootElement, GetOpfPrefix(m_rootElement), QStringLiteral("metadata"));
    for (qsizetype i = metadataElements.size() - 1; i >= 0; --i) {
        CheckDublinCoreDeclaration(metadataElements[i]);
        LoadRequiredItems(metadataElements[i]);
    }
    for (const CXmlNode& meta : m_rootElement.GetElementsByTagName(QStringLiteral("meta")))
        AddRecord(meta);
    for (qsizetype i = metadataElements.size() - 1; i >= 0; --i) {
        CheckDublinCoreDeclaration(metadataElements[i]);
        LoadAdditionalItems(metadataElements[i]);
    }
}

bool CPackageMetadata::CheckDublinCoreDeclaration(const CXmlNode& metadata)
{
    // As XML scoping has it: a declaration on metadata itself, else the nearest one on its
    // ancestors (usually package), else the prefix the dc elements declare for themselves.
    QString prefix = dublinCorePrefixDeclaredOn(metadata);
    for (CXmlNode node = metadata.GetParent(); prefix.isNull() && node.GetType() == CXmlNode::NODE_ELEMENT;
         node = node.GetParent())
        prefix = dublinCorePrefixDeclaredOn(node);
    for (const CXmlNode& child : metadata.GetChildElements()) {
        if (!prefix.isNull())
            break;
        prefix = dublinCorePrefixDeclaredOn(child);
    }
    if (prefix.isNull())
        return false;
    m_tagTable.clear();
    for (const TagName& tag : kTagNames)
        m_tagTable.insert(prefix + QLatin1Char(':') + QLatin1String(tag.name), tag.code);
    m_tagTable.insert(QStringLiteral("meta"), CODE_META);
    return true;
}

void CPackageMetadata::AddRecord(const CXmlNode& element)
{
    _METADATA record;
    record.name = element.GetName();
    for (const CXmlNode& attribute : element.GetAttributes())
        record.attributes.append({attribute.GetName(), attribute.GetValue()});
    const QString text = element.GetTextContent();
    if (!text.isEmpty())
        record.text = text;
    m_records.append(record);
}

void CPackageMetadata::LoadRequiredItems(const CXmlNode& metadata)
{
    AddRecord(metadata);
    platform::PropertyGrid* grid = m_pMetadataGrid;
    auto setRow = [grid](int row, const QString& value) {
        if (grid && grid->GetGroupCount() > 0 && row < grid->GetRowCount(0))
            grid->SetRowValue(0, row, value);
    };
    for (const CXmlNode& child : metadata.GetChildElements()) {
        const int code = m_tagTable.value(child.GetName(), CODE_NONE);
        if (code == CODE_NONE)
            continue;
        if (code != CODE_META)
            AddRecord(child);
        const QString text = child.GetTextContent();
        switch (code) {
        case CODE_TITLE:
        case CODE_CREATOR:
        case CODE_PUBLISHER:
        case CODE_DATE:
            setRow(code, text);
            break;
        case CODE_IDENTIFIER:
            for (const CXmlNode& attribute : child.GetAttributes()) {
                if (attribute.GetValue() == QLatin1String("ISBN"))
                    setRow(ROW_ISBN, text);
                else if (attribute.GetValue() == QLatin1String("ECN"))
                    setRow(ROW_ECN, text);
            }
            break;
        case CODE_TYPE:
            if (TypeNames().contains(text))
                setRow(ROW_TYPE, text);
            break;
        case CODE_LANGUAGE:
            setRow(ROW_LANGUAGE, LanguageLabel(text));
            break;
        default:
            break;
        }
    }
}

void CPackageMetadata::LoadAdditionalItems(const CXmlNode& metadata)
{
    platform::PropertyGrid* grid = m_pMetadataGrid;
    if (!grid || grid->GetGroupCount() < 2)
        return;
    for (const CXmlNode& child : metadata.GetChildElements()) {
        const int code = m_tagTable.value(child.GetName(), CODE_NONE);
        if (code < CODE_SUBJECT || code > CODE_META)
            continue;
        const QString value = code == CODE_META ? child.GetAttribute(QStringLiteral("content"))
                                                : child.GetTextContent();
        const AdditionalItem* item = additionalItemOf(code, child);
        if (item && !value.isEmpty())
            grid->AddRow(1, item->name, value, item->help);
    }
    grid->CollapseGroup(1);
    grid->Redraw();
    grid->ExpandGroup(1);
}

CXmlNode CPackageMetadata::MetadataNode() const
{
    if (!m_pDocument || m_rootElement.IsNull())
        return {};
    const QString prefix = GetOpfPrefix(m_rootElement);
    CXmlNode node = m_rootElement.SelectSingleNode(QStringLiteral("/package/metadata"));
    if (node.IsNull() && !prefix.isEmpty())
        node = m_rootElement.SelectSingleNode(QStringLiteral("/%1package/%1metadata").arg(prefix));
    return node;
}

bool CPackageMetadata::SaveRequiredMetadata()
{
    CXmlNode metadata = MetadataNode();
    if (metadata.IsNull() || !m_pMetadataGrid || m_pMetadataGrid->GetGroupCount() < 1)
        return false;
    // Without a Dublin Core binding the grid showed none of the book's metadata, only its
    // initial values: writing those would replace or bury what the book holds.
    if (m_tagTable.isEmpty())
        return m_pDocument->Write(m_strPackagePath);
    declareDublinCorePrefix(metadata);
    const QString uniqueIdentifier = m_rootElement.GetAttribute(QStringLiteral("unique-identifier"));
    const int rows = m_pMetadataGrid->GetRowCount(0);
    for (int row = 0; row < rows; ++row) {
        const QString name = m_pMetadataGrid->GetRowName(0, row);
        QString value = m_pMetadataGrid->GetRowValue(0, row);
        const QString element = requiredElementName(name);
        if (element.isEmpty())
            continue;
        const bool identifier = element == QLatin1String("dc:identifier");
        if (name == RequiredRowName(ROW_LANGUAGE))
            value = LanguageCode(value);

        // An identifier is replaced by the same rule that shows it: an element the tag table
        // knows as an identifier, with any attribute naming the scheme. One shown nowhere
        // stays. If it was the book's unique identifier, the new one keeps its id so the
        // package still names an identifier it holds.
        QString keptId;
        const CXmlNodeList children = metadata.GetChildElements();
        for (qsizetype i = children.size() - 1; i >= 0; --i) {
            const CXmlNode& child = children[i];
            if (child.GetName() != element)
                continue;
            if (identifier) {
                if (m_tagTable.value(child.GetName(), CODE_NONE) != CODE_IDENTIFIER || !hasAttributeValue(child, name))
                    continue;
                const QString id = child.GetAttribute(QStringLiteral("id"));
                if (!uniqueIdentifier.isEmpty() && id == uniqueIdentifier)
                    keptId = id;
            }
            metadata.RemoveChild(child);
        }

        CXmlNode created = m_pDocument->CreateElement(element);
        if (created.IsNull())
            continue;
        created.SetTextContent(value);
        created = metadata.AppendChild(created);
        if (!keptId.isEmpty())
            created.SetAttribute(QStringLiteral("id"), keptId);
        if (identifier)
            created.SetAttribute(opfAttributePrefix(metadata) + QStringLiteral("scheme"), name);
    }
    return m_pDocument->Write(m_strPackagePath);
}

bool CPackageMetadata::SaveOptionalMetadata()
{
    CXmlNode metadata = MetadataNode();
    if (metadata.IsNull() || !m_pMetadataGrid || m_pMetadataGrid->GetGroupCount() < 2)
        return false;
    if (m_tagTable.isEmpty())
        return m_pDocument->Write(m_strPackagePath);
    declareDublinCorePrefix(metadata);

    const CXmlNodeList children = metadata.GetChildElements();
    for (qsizetype i = children.size() - 1; i >= 0; --i) {
        const int code = writtenCode(children[i].GetName());
        if (code >= CODE_SUBJECT && additionalItemOf(code, children[i]))
            metadata.RemoveChild(children[i]);
    }

    const int rows = m_pMetadataGrid->GetRowCount(1);
    for (int row = 0; row < rows; ++row) {
        const AdditionalItem* item = FindAdditionalItemByName(m_pMetadataGrid->GetRowName(1, row));
        if (!item)
            continue;
        const QString value = m_pMetadataGrid->GetRowValue(1, row);
        CXmlNode created = m_pDocument->CreateElement(item->element);
        if (created.IsNull())
            continue;
        created = metadata.AppendChild(created);
        if (item->element == QLatin1String("meta")) {
            created.SetAttribute(QStringLiteral("name"), item->role);
            created.SetAttribute(QStringLiteral("content"), value);
        } else {
            created.SetTextContent(value);
            if (!item->role.isEmpty())
                created.SetAttribute(opfAttributePrefix(metadata) + QStringLiteral("role"), item->role);
        }
    }
    return m_pDocument->Write(m_strPackagePath);
}
