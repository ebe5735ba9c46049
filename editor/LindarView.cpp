#include "editor/LindarView.h"

#include "editor/BookPanes.h"
#include "editor/DTdxCtrl0.h"
#include "editor/EditorTexts.h"
#include "editor/LindarApp.h"
#include "editor/LindarDoc.h"
#include "editor/MainFrame.h"
#include "package/XmlDocument.h"
#include "platform/core/KnownFolders.h"
#include "platform/core/MessageBox.h"
#include "platform/ui/QtTreeControl.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimerEvent>
#include <QVBoxLayout>

namespace {

const QString kWriteFormat = QStringLiteral("XHTML");
const QString kWriteOptions = QStringLiteral("imagePath:images;textunit:em;");
const QString kOpenOwnStyles = QStringLiteral("imagelink:true;tdxstyle:false;code:utf8;");
const QString kOpenBasicStyles = QStringLiteral("imagelink:true;tdxstyle:true;code:utf8");
const QString kReopenOwnStyles = QStringLiteral("imagelink:true;tdxstyle:false;code:utf8");
const QString kReopenBasicStyles = QStringLiteral("imagelink:true;tdxstyle:true;code:utf8");
const QString kOpenTemplate = QStringLiteral("template:false;forceopen:true;");
const QString kBasicStyleFile = QStringLiteral("basic_template.sty");

const char* const kPageItems[8] = {"PaperWidth", "PaperHeight", "LeftMargin", "RightMargin",
                                   "TopMargin", "BottomMargin", "HeaderLen", "FooterLen"};
constexpr std::array<int, 8> kA4Preset{59528, 84188, 8504, 8504, 5668, 4252, 4252, 4252};
constexpr std::array<int, 8> kDevicePreset{26844, 36284, 1417, 1417, 2551, 2551, 0, 0};

struct StyleName {
    const char* english;
    const char* local;
};
const StyleName kStyleNames[20] = {
    {"Normal", "바탕글"},       {"Body", "본문"},           {"Outline 1", "개요 1"},
    {"Outline 2", "개요 2"},    {"Outline 3", "개요 3"},    {"Outline 4", "개요 4"},
    {"Outline 5", "개요 5"},    {"Outline 6", "개요 6"},    {"Outline 7", "개요 7"},
    {"Distribute", "양쪽정렬"}, {"LeftAlign", "왼쪽정렬"},  {"RightAlign", "오른쪽정렬"},
    {"CenterAlign", "중앙정렬"}, {"Indent", "들여쓰기"},    {"Outdent", "내어쓰기"},
    {"Numbering", "번호매김"},  {"Heading", "글머리"},      {"Page Number", "쪽번호"},
    {"Header", "머리말"},       {"Footnote", "각주"},
};

QString fileNameOf(const QString& path)
{
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    return slash >= 0 ? path.mid(slash + 1) : path;
}

QString cutBeforeLastDot(const QString& text)
{
    const int dot = text.lastIndexOf(QLatin1Char('.'));
    return dot >= 0 ? text.left(dot) : text;
}

bool isChapterExtension(const QString& path)
{
    const int dot = path.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot >= 0 ? path.mid(dot) : QString();
    return extension == QLatin1String(".html") || extension == QLatin1String(".htm")
        || extension == QLatin1String(".xml") || extension == QLatin1String(".xhtml");
}

QString mediaSubtype(const QString& extension)
{
    if (extension == QLatin1String("JPG") || extension == QLatin1String("JPEG"))
        return QStringLiteral("jpeg");
    if (extension == QLatin1String("PNG"))
        return QStringLiteral("png");
    if (extension == QLatin1String("GIF"))
        return QStringLiteral("gif");
    if (extension == QLatin1String("SVG"))
        return QStringLiteral("svg+xml");
    return extension;
}

void fillStyleTemplate(CDTdxCtrl0& control, int count, const QString& fileName, bool import)
{
    CDTdxAction action = control.CreateAction(QStringLiteral("StyleTemplate"));
    CDTdxParameterSet set = action.CreateSet();
    CDTdxParameterArray english = set.CreateItemArray(QStringLiteral("NameEngs"), count);
    CDTdxParameterArray local = set.CreateItemArray(QStringLiteral("NameLocals"), count);
    action.GetDefault(set);
    for (int i = 0; i < count; ++i) {
        english.SetItem(i, QString::fromUtf8(kStyleNames[i].english));
        local.SetItem(i, QString::fromUtf8(kStyleNames[i].local));
    }
    set.SetItem(QStringLiteral("FileName"), fileName);
    if (import)
        control.ImportStyles(set);
    else
        control.ExportStyles(set);
}

} // namespace

CLindarView::CLindarView(CMainFrame& frame, CLindarDoc& document)
    : m_frame(frame)
    , m_document(document)
    , m_app(*CLindarApp::Get())
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
}

CLindarView::~CLindarView()
{
    if (m_document.m_pCtrl == m_pCtrl)
        m_document.m_pCtrl = nullptr;
}

void CLindarView::CreateControl()
{
    m_pCtrl = new CDTdxCtrl0(this);
    QSize area = m_frame.centralWidget() ? m_frame.centralWidget()->size() : size();
    m_pCtrl->Create(this, QRect(0, 0, qMax(0, area.width() - 5), qMax(0, area.height() - 10)), 0);
    layout()->addWidget(m_pCtrl); // the control follows the view's size
    m_document.m_pCtrl = m_pCtrl;
    m_pCtrl->RegisterModule(QStringLiteral("FilePathCheckDLL"), QStringLiteral("TdxFileCheck"));
}

void CLindarView::InitChapterView()
{
    QString firstChapter;
    m_document.GetFirstDocumentPath(firstChapter);
    SetPagePreset(PagePreset::Device);
    m_frame.m_bDevicePaper = true;
    m_frame.m_bA4Paper = false;

    const int slash = firstChapter.lastIndexOf(QLatin1Char('/'));
    m_strContentFolder = slash >= 0 ? firstChapter.left(slash) : QString();

    QString chapter = firstChapter;
    if (m_app.m_bReopening && !m_frame.m_strLastChapter.isEmpty()) {
        m_app.m_nStyleChoice = 1;
        chapter = m_strContentFolder + QLatin1Char('/') + m_frame.m_strLastChapter;
    }

    if (m_pCtrl)
        return;
    CreateControl();
    if (m_app.m_bFromTemplate) {
        m_app.m_nStyleChoice = 1;
        m_pCtrl->OpenDocument(m_app.m_strTemplatePath, QStringLiteral("TDX"), kOpenTemplate);
        CollectLinkedImages(m_aLinkedImages);
        const QString styleFile = cutBeforeLastDot(m_app.m_strTemplatePath) + QStringLiteral(".sty");
        ExportStyleTemplate(styleFile);
        m_app.m_strStyleFile = styleFile;
        OpenChapter(chapter, QString());
    } else {
        // A fragment after the file name ("ch01.xhtml#p3") is not part of the path.
        const int dot = chapter.lastIndexOf(QLatin1Char('.'));
        if (dot >= 0 && chapter.indexOf(QLatin1Char('#'), dot + 1) > dot)
            chapter = chapter.left(chapter.indexOf(QLatin1Char('#')));
        if (m_app.m_nStyleChoice == 0)
            AskStyleQuestion();
        OpenChapter(chapter, QString());
        m_strChapterPath = chapter;
    }

    CDTdxParameterSet view = m_pCtrl->GetViewProperties();
    view.SetItem(QStringLiteral("ZoomType"), 0);
    view.SetItem(QStringLiteral("ZoomRatio"), 100);
    m_pCtrl->SetViewProperties(view);
    m_pCtrl->setFocus();

    if (m_app.m_bReopening)
        m_scrollTimer.start(500, this);
    m_app.m_bReopening = false;
}

void CLindarView::AskStyleQuestion()
{
    const auto answer = platform::ShowMessage(texts::StyleQuestion(), texts::AppTitle(),
                                              platform::MessageButtons::YesNo, platform::MessageIcon::None, this);
    m_app.m_nStyleChoice = answer == platform::MessageResult::Yes ? 1 : 2;
}

void CLindarView::OpenChapter(const QString& path, const QString& options)
{
    m_document.m_nZoomRatio = 100;
    if (options.isEmpty() && !isChapterExtension(path))
        return;
    if (!m_pCtrl)
        return;
    SaveChapter();
    m_pCtrl->ClearDocument(1);
    m_strChapterPath = path;
    if (m_app.m_nStyleChoice == 0)
        AskStyleQuestion();
    if (m_app.m_nStyleChoice == 1) {
        m_pCtrl->OpenDocument(path, QStringLiteral("HTML"), kOpenOwnStyles);
        CollectLinkedImages(m_aLinkedImages);
        if (m_app.m_bFromTemplate)
            ImportStyleTemplate(fileNameOf(m_app.m_strStyleFile));
        ApplyPageSetup();
    } else {
        m_pCtrl->OpenDocument(path, QStringLiteral("HTML"), kOpenBasicStyles);
        ImportStyleTemplate(kBasicStyleFile);
        ApplyPageSetup();
        CollectLinkedImages(m_aLinkedImages);
    }
    m_document.SetTitle(fileNameOf(path));
}

void CLindarView::SaveChapter()
{
    if (!m_pCtrl || m_strChapterPath.isEmpty() || !QFileInfo::exists(m_strChapterPath))
        return;
    m_document.FitImagesToPaper(false);
    if (!m_pCtrl->SaveDocumentAs(m_strChapterPath, kWriteFormat, kWriteOptions)) {
        // The chapter's edits are still only in the control: keep them there, keep every
        // picture, and keep the book marked so that closing it asks first.
        if (!m_bUnsaved)
            m_bUnsaved = m_pCtrl->IsModified(1);
        return;
    }
    m_bUnsaved = true;
    m_pCtrl->OpenDocument(m_strChapterPath, QString(),
                          m_app.m_nStyleChoice == 1 ? kReopenOwnStyles : kReopenBasicStyles);
    QStringList linkedNow;
    CollectLinkedImages(linkedNow);
    UpdatePictures(linkedNow);
}

void CLindarView::UpdatePictures(const QStringList& linkedNow)
{
    QStringList removed;
    for (const QString& picture : m_aLinkedImages)
        if (!linkedNow.contains(picture))
            removed.append(picture);
    QStringList added;
    for (const QString& picture : linkedNow)
        if (!m_aLinkedImages.contains(picture))
            added.append(picture);

    // A picture another content file still shows stays.
    const QFileInfoList contentFiles = QDir(m_strContentFolder).entryInfoList(QDir::Files | QDir::Hidden);
    for (int i = int(removed.size()) - 1; i >= 0; --i) {
        for (const QFileInfo& file : contentFiles) {
            const QString extension = file.fileName().mid(file.fileName().lastIndexOf(QLatin1Char('.')) + 1).toUpper();
            if ((extension == QLatin1String("XHTML") || extension == QLatin1String("XML"))
                && IsImageUsed(file.filePath(), removed.at(i))) {
                removed.removeAt(i);
                break;
            }
        }
    }

    for (const QString& picture : removed)
        if (IsInsideBook(picture))
            QFile::remove(picture);

    platform::QtTreeControl* manifest = m_frame.Panes().ManifestTree();
    if (!removed.isEmpty()) {
        platform::TreeItem item = manifest->GetRootItem();
        while (item) {
            const platform::TreeItem next = manifest->GetNextSiblingItem(item);
            for (const QString& picture : removed) {
                if (manifest->GetItemText(item) == cutBeforeLastDot(fileNameOf(picture))) {
                    manifest->DeleteItem(item);
                    break;
                }
            }
            item = next;
        }
    }
    for (const QString& picture : added)
        AddPictureItem(picture);
}

void CLindarView::AddPictureItem(const QString& picturePath)
{
    const QString fileName = fileNameOf(picturePath);
    const QString id = cutBeforeLastDot(fileName);
    const int dot = fileName.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot >= 0 ? fileName.mid(dot + 1).toUpper() : QString();
    // The href is where the picture lies from the package folder: "images/NAME" for a
    // chapter beside the package document, with the chapter's folder in front otherwise.
    QString href = QStringLiteral("images/") + fileName;
    const QString packageFolder = m_document.GetPackageFolder();
    if (!packageFolder.isEmpty() && IsInsideBook(picturePath)) {
        const QString relative = QDir(packageFolder).relativeFilePath(QFileInfo(picturePath).absoluteFilePath());
        if (!relative.startsWith(QLatin1String("..")))
            href = relative;
    }
    platform::QtTreeControl* manifest = m_frame.Panes().ManifestTree();
    platform::TreeItem item = manifest->InsertItem(id, 0);
    manifest->InsertItem(QStringLiteral("image/") + mediaSubtype(extension), 1, item);
    manifest->InsertItem(href, 1, item);
}

bool CLindarView::IsInsideBook(const QString& path) const
{
    const QString workFolder = m_document.GetWorkFolder();
    if (workFolder.isEmpty())
        return false;
    const QString root = QFileInfo(workFolder).canonicalFilePath();
    const QString target = QFileInfo(QFileInfo(path).absolutePath()).canonicalFilePath();
    return !root.isEmpty() && !target.isEmpty()
        && (target == root || target.startsWith(root + QLatin1Char('/')));
}

void CLindarView::CollectLinkedImages(QStringList& list)
{
    list.clear();
    if (!m_pCtrl)
        return;
    const CDTdxShapeObject last = m_pCtrl->GetLastObject();
    for (CDTdxShapeObject object = m_pCtrl->GetFirstObject(); !object.IsNull() && !(object == last);
         object = object.GetNext()) {
        if (object.GetId().compare(QLatin1String("gso"), Qt::CaseInsensitive) != 0)
            continue;
        CDTdxParameterSet properties = object.GetProperties();
        CDTdxParameterSet image = properties.CreateItemSet(QStringLiteral("ShapeDrawImageAttr"),
                                                           QStringLiteral("ShapeDrawImageAttr"));
        if (image.GetItemLong(QStringLiteral("Embedded")) != 0)
            continue;
        list.append(m_pCtrl->GetPicturePath(image.GetItemLong(QStringLiteral("FileName"))));
    }
}

bool CLindarView::IsImageUsed(const QString& filePath, const QString& picturePath) const
{
    CXmlDocument document;
    if (!document.Parse(filePath))
        return false;
    const QString pictureName = fileNameOf(picturePath);
    // Every img element counts, wherever it stands in the body.
    for (const CXmlNode& node : document.GetDocumentElement().GetElementsByTagName(QStringLiteral("img"))) {
        if (node.GetType() != CXmlNode::NODE_ELEMENT)
            continue;
        const QList<CXmlNode> attributes = node.GetAttributes();
        for (int i = int(attributes.size()) - 1; i >= 0; --i) {
            if (attributes.at(i).GetName().toLower() != QLatin1String("src"))
                continue;
            const QString value = attributes.at(i).GetValue();
            if (value.mid(value.lastIndexOf(QLatin1Char('/')) + 1) == pictureName)
                return true;
            break; // the last src attribute decides for its element
        }
    }
    return false;
}

void CLindarView::ExportStyleTemplate(const QString& styleFilePath)
{
    if (m_pCtrl)
        fillStyleTemplate(*m_pCtrl, 17, styleFilePath, false);
}

void CLindarView::ImportStyleTemplate(const QString& styleFileName)
{
    if (m_pCtrl)
        fillStyleTemplate(*m_pCtrl, 20,
                          platform::ProgramDataFolder(QStringLiteral("template")) + QLatin1Char('/') + styleFileName, true);
}

void CLindarView::SetPagePreset(PagePreset preset)
{
    m_aPagePreset = preset == PagePreset::A4 ? kA4Preset : kDevicePreset;
}

void CLindarView::ApplyPageSetup()
{
    if (!m_pCtrl)
        return;
    CDTdxAction action = m_pCtrl->CreateAction(QStringLiteral("PageSetup"));
    CDTdxParameterSet set = action.CreateSet();
    action.GetDefault(set);
    set.SetItem(QStringLiteral("ApplyClass"), 24);
    set.SetItem(QStringLiteral("ApplyTo"), 3);
    CDTdxParameterSet page = set.CreateItemSet(QStringLiteral("PageDef"), QStringLiteral("PageDef"));
    for (int i = 0; i < 8; ++i)
        page.SetItem(QString::fromLatin1(kPageItems[i]), m_aPagePreset[size_t(i)]);
    action.Execute(set);
}

void CLindarView::PrepareNewChapter(const QString& path)
{
    if (!m_pCtrl)
        return;
    m_pCtrl->OpenDocument(path, QStringLiteral("HTML"), kOpenBasicStyles);
    ImportStyleTemplate(kBasicStyleFile);
    m_pCtrl->SaveDocumentAs(path, kWriteFormat, kWriteOptions);
    ApplyPageSetup();
}

void CLindarView::UpdateUnsavedMark()
{
    if (!m_bUnsaved && m_pCtrl)
        m_bUnsaved = m_pCtrl->IsModified(1);
}

void CLindarView::GoToBookmark(const QString& name)
{
    if (!m_pCtrl || name.isEmpty())
        return;
    CDTdxAction action = m_pCtrl->CreateAction(QStringLiteral("Bookmark"));
    CDTdxParameterSet set = action.CreateSet();
    action.GetDefault(set);
    set.SetItem(QStringLiteral("Name"), name);
    set.SetItem(QStringLiteral("Command"), 1);
    action.Execute(set);
}

void CLindarView::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != m_scrollTimer.timerId()) {
        QWidget::timerEvent(event);
        return;
    }
    m_scrollTimer.stop();
    RestoreScrollState();
}

void CLindarView::RestoreScrollState()
{
    if (!m_pCtrl)
        return;
    CDTdxParameterSet scroll = m_pCtrl->GetScrollState();
    scroll.SetItem(QStringLiteral("VertPos"), qint32(m_app.m_nSavedVertPos));
    scroll.SetItem(QStringLiteral("VertLimitPos"), qint32(m_app.m_nSavedVertLimitPos));
    m_pCtrl->SetScrollState(scroll);
}
