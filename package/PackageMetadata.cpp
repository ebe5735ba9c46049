#include "package/PackageMetadata.h"

#include "package/ChildLayout.h"
#include "package/OpfNames.h"
#include "package/SkeletonTexts.h"
#include "package/XmlDocument.h"
#include "platform/controls/PropertyGrid.h"

#include <QRegularExpression>

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

// The element each required row stands for, by row.
const char* const kRequiredElements[REQUIRED_ROW_COUNT] = {
    "title", "creator", "publisher", "date", "identifier", "identifier", "type", "language"};

const QString kDublinCoreNamespace = QStringLiteral("http://purl.org/dc/elements/1.1");
const QString kOpfNamespace = QStringLiteral("http://www.idpf.org/2007/opf");
// Attributes of the package vocabulary that older tools write without their prefix.
const char* const kPackageAttributes[] = {"role", "scheme", "file-as", "event"};

bool isElementNamed(const CXmlNode& node, const char* name)
{
    return node.GetName().compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
}

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

const AdditionalItem* itemWithRole(const QString& element, const QString& role)
{
    for (const AdditionalItem& entry : AdditionalItems()) {
        if (entry.element == element && entry.role == role)
            return &entry;
    }
    return nullptr;
}

// The additional item an element is shown as, or none.
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

// An identifier row's scheme, compared as readers do: "isbn" names ISBN too.
bool hasSchemeValue(const CXmlNode& element, const QString& scheme)
{
    for (const CXmlNode& attribute : element.GetAttributes()) {
        if (attribute.GetValue().compare(scheme, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

int requiredRowOf(const QString& rowName)
{
    for (int row = 0; row < REQUIRED_ROW_COUNT; ++row) {
        if (rowName == RequiredRowName(row))
            return row;
    }
    return -1;
}

QString additionalValueOf(const CXmlNode& element, int code)
{
    return code == CODE_META ? element.GetAttribute(QStringLiteral("content")) : element.GetTextContent();
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
    m_containers.clear();
    m_additional.clear();
    m_strDcPrefix.clear();
    for (RequiredBinding& binding : m_required)
        binding = RequiredBinding();
    if (m_rootElement.IsNull())
        return;

    // A package written with a prefix ("opf:metadata") is read like the manifest and spine.
    // Older packages keep their Dublin Core in dc-metadata and their meta in x-metadata.
    for (const CXmlNode& metadata : GetOpfElements(m_rootElement, GetOpfPrefix(m_rootElement), QStringLiteral("metadata"))) {
        m_containers.append(metadata);
        AddRecord(metadata);
        for (const CXmlNode& child : metadata.GetChildElements()) {
            if (isElementNamed(child, "dc-metadata") || isElementNamed(child, "x-metadata"))
                m_containers.append(child);
        }
    }
    m_strDcPrefix = FindDublinCorePrefix();
    if (m_strDcPrefix.isEmpty())
        return;
    const CXmlNodeList elements = MetadataElements();
    for (const CXmlNode& element : elements) {
        if (CodeOf(element) != CODE_NONE)
            AddRecord(element);
    }
    LoadRequiredItems(elements);
    LoadAdditionalItems(elements);
}

// As XML scoping has it: a declaration on a metadata element itself, else the nearest one
// on its ancestors (usually package), else the prefix the dc elements declare for
// themselves.
QString CPackageMetadata::FindDublinCorePrefix() const
{
    for (const CXmlNode& container : m_containers) {
        QString prefix;
        for (CXmlNode node = container; prefix.isNull() && node.GetType() == CXmlNode::NODE_ELEMENT;
             node = node.GetParent())
            prefix = dublinCorePrefixDeclaredOn(node);
        for (const CXmlNode& child : container.GetChildElements()) {
            if (!prefix.isNull())
                break;
            prefix = dublinCorePrefixDeclaredOn(child);
        }
        if (!prefix.isEmpty())
            return prefix;
    }
    return {};
}

// Element names are matched whatever their case: packages of the older format write
// "dc:Title" and "dc:Creator".
int CPackageMetadata::CodeOf(const CXmlNode& element) const
{
    const QString name = element.GetName();
    if (name.compare(QLatin1String("meta"), Qt::CaseInsensitive) == 0)
        return CODE_META;
    if (!name.startsWith(m_strDcPrefix + QLatin1Char(':')))
        return CODE_NONE;
    const QString local = name.mid(m_strDcPrefix.size() + 1);
    for (const TagName& tag : kTagNames) {
        if (local.compare(QLatin1String(tag.name), Qt::CaseInsensitive) == 0)
            return tag.code;
    }
    return CODE_NONE;
}

CXmlNodeList CPackageMetadata::MetadataElements() const
{
    CXmlNodeList elements;
    for (const CXmlNode& container : m_containers) {
        for (const CXmlNode& child : container.GetChildElements()) {
            if (!isElementNamed(child, "dc-metadata") && !isElementNamed(child, "x-metadata"))
                elements.append(child);
        }
    }
    return elements;
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

void CPackageMetadata::LoadRequiredItems(const CXmlNodeList& elements)
{
    platform::PropertyGrid* grid = m_pMetadataGrid;
    const bool hasRows = grid && grid->GetGroupCount() > 0;
    // Each row shows, and later edits, the first element of its kind.
    auto bind = [this](int row, const CXmlNode& element) {
        if (m_required[row].element.IsNull())
            m_required[row].element = element;
    };
    for (const CXmlNode& element : elements) {
        const int code = CodeOf(element);
        switch (code) {
        case CODE_TITLE:
        case CODE_CREATOR:
        case CODE_PUBLISHER:
        case CODE_DATE:
        case CODE_TYPE:
        case CODE_LANGUAGE:
            bind(code, element);
            break;
        case CODE_IDENTIFIER:
            if (hasSchemeValue(element, RequiredRowName(ROW_ISBN)))
                bind(ROW_ISBN, element);
            else if (hasSchemeValue(element, RequiredRowName(ROW_ECN)))
                bind(ROW_ECN, element);
            break;
        default:
            break;
        }
    }
    for (int row = 0; row < REQUIRED_ROW_COUNT; ++row) {
        RequiredBinding& binding = m_required[row];
        if (!hasRows || row >= grid->GetRowCount(0))
            continue;
        if (!binding.element.IsNull()) {
            const QString text = binding.element.GetTextContent();
            if (row == ROW_LANGUAGE)
                grid->SetRowValue(0, row, LanguageLabel(text));
            else if (row != ROW_TYPE || !text.trimmed().isEmpty())
                grid->SetRowValue(0, row, text); // a type the list lacks is shown as held too
        }
        binding.shown = grid->GetRowValue(0, row);
    }
}

void CPackageMetadata::LoadAdditionalItems(const CXmlNodeList& elements)
{
    platform::PropertyGrid* grid = m_pMetadataGrid;
    if (!grid || grid->GetGroupCount() < 2)
        return;
    for (const CXmlNode& element : elements) {
        const int code = CodeOf(element);
        if (code < CODE_SUBJECT)
            continue;
        const QString value = additionalValueOf(element, code);
        const AdditionalItem* item = additionalItemOf(code, element);
        if (!item || value.isEmpty())
            continue;
        grid->AddRow(1, item->name, value, item->help);
        m_additional.append({element, item->name, value});
    }
    grid->CollapseGroup(1);
    grid->Redraw();
    grid->ExpandGroup(1);
}

bool CPackageMetadata::IsRequiredRowEdited(int row) const
{
    if (!m_pMetadataGrid || m_pMetadataGrid->GetGroupCount() < 1 || row < 0 || row >= REQUIRED_ROW_COUNT)
        return false;
    const int gridRow = m_pMetadataGrid->FindRow(0, RequiredRowName(row));
    return gridRow >= 0 && m_pMetadataGrid->GetRowValue(0, gridRow) != m_required[row].shown;
}

// New elements go where the book keeps its Dublin Core: beside its first dc element.
CXmlNode CPackageMetadata::ContainerForNewElements() const
{
    for (const CXmlNode& element : MetadataElements()) {
        if (CodeOf(element) != CODE_NONE && CodeOf(element) != CODE_META)
            return element.GetParent();
    }
    return m_containers.isEmpty() ? CXmlNode() : m_containers.first();
}

CXmlNode CPackageMetadata::AppendElement(const QString& name, const QString& text)
{
    CXmlNode container = ContainerForNewElements();
    CXmlNode created = m_pDocument->CreateElement(name);
    if (container.IsNull() || created.IsNull())
        return {};
    // Books that bind the prefix only on each dc element need it bound where this one lands.
    if (name.startsWith(m_strDcPrefix + QLatin1Char(':'))) {
        const QString declaration = QStringLiteral("xmlns:") + m_strDcPrefix;
        CXmlNode scope = container;
        while (scope.GetType() == CXmlNode::NODE_ELEMENT && !scope.HasAttribute(declaration))
            scope = scope.GetParent();
        if (scope.GetType() != CXmlNode::NODE_ELEMENT)
            container.SetAttribute(declaration, QStringLiteral("http://purl.org/dc/elements/1.1/"));
    }
    if (!text.isNull())
        created.SetTextContent(text);
    return ChildLayout::InsertIndented(*m_pDocument, container, created);
}

bool CPackageMetadata::SaveRequiredMetadata()
{
    m_rejected.clear();
    if (!m_pDocument || m_containers.isEmpty() || !m_pMetadataGrid || m_pMetadataGrid->GetGroupCount() < 1)
        return false;
    // Without a Dublin Core binding the grid showed none of the book's metadata, only its
    // initial values: writing those would replace or bury what the book holds.
    if (m_strDcPrefix.isEmpty())
        return m_pDocument->Write(m_strPackagePath);
    const QString uniqueIdentifier = m_rootElement.GetAttribute(QStringLiteral("unique-identifier")).trimmed();
    const int rows = m_pMetadataGrid->GetRowCount(0);
    for (int gridRow = 0; gridRow < rows; ++gridRow) {
        const QString name = m_pMetadataGrid->GetRowName(0, gridRow);
        const int row = requiredRowOf(name);
        if (row < 0)
            continue;
        RequiredBinding& binding = m_required[row];
        QString value = m_pMetadataGrid->GetRowValue(0, gridRow);
        if (value == binding.shown)
            continue; // untouched: the element keeps its exact text
        if (row == ROW_DATE && !value.isEmpty() && !IsW3CDate(value)) {
            m_rejected << QStringLiteral("%1 \"%2\": %3").arg(name, value, W3CDateRule());
            continue;
        }
        if (row == ROW_LANGUAGE)
            value = LanguageCode(value);
        CXmlNode element = binding.element;
        const bool isUniqueIdentifier = !element.IsNull() && !uniqueIdentifier.isEmpty()
            && element.GetAttribute(QStringLiteral("id")).trimmed() == uniqueIdentifier;
        if (value.isEmpty()) {
            // A cleared row removes its element; the package's own identifier must stay.
            if (!element.IsNull() && !isUniqueIdentifier)
                ChildLayout::RemoveIndented(element);
            binding.element = CXmlNode();
        } else if (!element.IsNull()) {
            element.SetTextContent(value);
        } else {
            element = AppendElement(m_strDcPrefix + QLatin1Char(':') + QLatin1String(kRequiredElements[row]), value);
            if (!element.IsNull() && (row == ROW_ISBN || row == ROW_ECN))
                element.SetAttribute(opfAttributePrefix(element.GetParent()) + QStringLiteral("scheme"), name);
            binding.element = element;
        }
        binding.shown = m_pMetadataGrid->GetRowValue(0, gridRow);
    }
    DropUnchangedPlaceholders();
    GiveNewBookItsTitle();
    PrefixPackageAttributes();
    return m_pDocument->Write(m_strPackagePath);
}

bool CPackageMetadata::SaveOptionalMetadata()
{
    if (!m_pDocument || m_containers.isEmpty() || !m_pMetadataGrid || m_pMetadataGrid->GetGroupCount() < 2)
        return false;
    if (m_strDcPrefix.isEmpty())
        return m_pDocument->Write(m_strPackagePath);

    // Rows of one name pair with the elements they were read from, in order: a changed value
    // is written into its element, a removed row removes its element, and an added row
    // makes a new element. Elements no row stands for are not touched.
    QHash<QString, QList<qsizetype>> boundByName;
    for (qsizetype i = 0; i < m_additional.size(); ++i)
        boundByName[m_additional[i].rowName].append(i);
    QList<AdditionalBinding> kept;
    const int rows = m_pMetadataGrid->GetRowCount(1);
    for (int row = 0; row < rows; ++row) {
        const QString name = m_pMetadataGrid->GetRowName(1, row);
        const AdditionalItem* item = FindAdditionalItemByName(name);
        if (!item)
            continue;
        const QString value = m_pMetadataGrid->GetRowValue(1, row);
        QList<qsizetype>& bound = boundByName[name];
        if (!bound.isEmpty()) {
            AdditionalBinding binding = m_additional[bound.takeFirst()];
            if (value.isEmpty()) {
                ChildLayout::RemoveIndented(binding.element);
                continue;
            }
            if (value != binding.value) {
                if (item->element == QLatin1String("meta"))
                    binding.element.SetAttribute(QStringLiteral("content"), value);
                else
                    binding.element.SetTextContent(value);
                binding.value = value;
            }
            kept.append(binding);
            continue;
        }
        // A row just added shows its own name until the user gives it a value.
        if (value.isEmpty() || value == name)
            continue;
        CXmlNode created;
        if (item->element == QLatin1String("meta")) {
            created = AppendElement(QStringLiteral("meta"), QString());
            if (!created.IsNull()) {
                created.SetAttribute(QStringLiteral("name"), item->role);
                created.SetAttribute(QStringLiteral("content"), value);
            }
        } else {
            const QString local = item->element.section(QLatin1Char(':'), 1);
            created = AppendElement(m_strDcPrefix + QLatin1Char(':') + local, value);
            if (!created.IsNull() && !item->role.isEmpty())
                created.SetAttribute(opfAttributePrefix(created.GetParent()) + QStringLiteral("role"), item->role);
        }
        if (!created.IsNull())
            kept.append({created, name, value});
    }
    for (const QList<qsizetype>& removed : std::as_const(boundByName)) {
        for (qsizetype index : removed)
            ChildLayout::RemoveIndented(m_additional[index].element);
    }
    m_additional = kept;
    DropUnchangedPlaceholders();
    return m_pDocument->Write(m_strPackagePath);
}

void CPackageMetadata::GiveNewBookItsTitle()
{
    RequiredBinding& title = m_required[ROW_TITLE];
    if (!m_bDropPlaceholders || m_strNewBookTitle.isEmpty() || !title.element.IsNull())
        return;
    title.element = AppendElement(m_strDcPrefix + QStringLiteral(":title"), m_strNewBookTitle);
}

void CPackageMetadata::DropUnchangedPlaceholders()
{
    if (!m_bDropPlaceholders)
        return;
    for (const CXmlNode& element : MetadataElements()) {
        const QString name = element.GetName();
        if (name.startsWith(m_strDcPrefix + QLatin1Char(':'))
            && SkeletonTexts::IsMetadataPlaceholder(name.mid(m_strDcPrefix.size() + 1), element.GetTextContent()))
            ChildLayout::RemoveIndented(element);
    }
    for (RequiredBinding& binding : m_required) {
        if (!binding.element.IsNull() && binding.element.GetParent().IsNull())
            binding.element = CXmlNode();
    }
}

// role, scheme, file-as and event mean something only in the package's namespace; written
// bare, readers ignore them and validators reject them. Legacy dc-metadata keeps its own form.
void CPackageMetadata::PrefixPackageAttributes()
{
    for (const CXmlNode& container : m_containers) {
        if (!isElementNamed(container, "metadata") && !container.GetName().endsWith(QLatin1String(":metadata")))
            continue;
        for (CXmlNode element : container.GetChildElements()) {
            if (CodeOf(element) == CODE_NONE || CodeOf(element) == CODE_META)
                continue;
            for (const char* attribute : kPackageAttributes) {
                const QString bare = QLatin1String(attribute);
                if (!element.HasAttribute(bare))
                    continue;
                const QString prefixed = opfAttributePrefix(container) + bare;
                if (!element.HasAttribute(prefixed))
                    element.SetAttribute(prefixed, element.GetAttribute(bare));
                element.RemoveAttribute(bare);
            }
        }
    }
}
