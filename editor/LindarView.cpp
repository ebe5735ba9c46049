#include "editor/LindarView.h"

#include "editor/BookPanes.h"
#include "editor/DTdxCtrl0.h"
#include "editor/EditorTexts.h"
#include "editor/LindarApp.h"
#include "editor/LindarDoc.h"
#include "editor/MainFrame.h"
#include "package/HrefPath.h"
#include "package/XmlDocument.h"
#include "platform/core/KnownFolders.h"
#include "platform/core/MessageBox.h"
#include "platform/ui/QtTreeControl.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QTimerEvent>
#include <QUrl>
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

QString cleanFilePath(const QString& path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

// Files that may show pictures, by extension without regard to case.
bool isChapterFileName(const QString& path)
{
    return isChapterExtension(path.toLower());
}

bool isChapterMediaType(const QString& mediaType)
{
    return mediaType.compare(QLatin1String("application/xhtml+xml"), Qt::CaseInsensitive) == 0
        || mediaType.compare(QLatin1String("text/html"), Qt::CaseInsensitive) == 0;
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

// The style file exported from a template: beside it, unless the program's data is only
// read (an installed copy); then in the user's own template folder, where the import
// looks first.
QString templateStyleFile(const QString& templatePath)
{
    const QString beside = cutBeforeLastDot(templatePath) + QStringLiteral(".sty");
    if (!platform::IsInstalledCopy() && QFileInfo(QFileInfo(templatePath).path()).isWritable())
        return beside;
    return platform::WritableDataFolder(QStringLiteral("template")) + QLatin1Char('/') + fileNameOf(beside);
}

QString styleFilePath(const QString& styleFileName)
{
    const QString own = platform::WritableDataFolder(QStringLiteral("template")) + QLatin1Char('/') + styleFileName;
    if (QFileInfo::exists(own))
        return own;
    return platform::ProgramDataFolder(QStringLiteral("template")) + QLatin1Char('/') + styleFileName;
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
    m_frame.SetPaperFlags(false);

    const int slash = firstChapter.lastIndexOf(QLatin1Char('/'));
    m_strContentFolder = slash >= 0 ? firstChapter.left(slash) : QString();

    QString chapter = firstChapter;
    if (m_app.m_bReopening && !m_frame.m_strLastChapter.isEmpty()) {
        m_app.m_nStyleChoice = 1;
        // The chapter's own place in the book, which need not be the first chapter's folder.
        const QString remembered = QDir::cleanPath(m_document.GetWorkFolder() + QLatin1Char('/')
                                                   + m_frame.m_strLastChapter);
        if (IsInsideBook(remembered) && QFileInfo(remembered).isFile())
            chapter = remembered;
    }

    if (m_pCtrl)
        return;
    CreateControl();
    if (m_app.m_bFromTemplate) {
        m_app.m_nStyleChoice = 1;
        m_pCtrl->OpenDocument(m_app.m_strTemplatePath, QStringLiteral("TDX"), kOpenTemplate);
        CollectLinkedImages(m_aLinkedImages);
        const QString styleFile = templateStyleFile(m_app.m_strTemplatePath);
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
    }
    if (m_strChapterPath.isEmpty())
        ShowChapterState(chapter);

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
    // A chapter that is not there opens nothing, like a file of another kind.
    if (!m_pCtrl || !QFileInfo(path).isFile())
        return;
    if (!SaveChapter())
        return; // the open chapter's edits stay in the control
    m_pCtrl->ClearDocument(1);
    m_strChapterPath.clear();
    if (m_app.m_nStyleChoice == 0)
        AskStyleQuestion();
    bool opened;
    if (m_app.m_nStyleChoice == 1) {
        opened = m_pCtrl->OpenDocument(path, QStringLiteral("HTML"), kOpenOwnStyles);
        CollectLinkedImages(m_aLinkedImages);
        if (m_app.m_bFromTemplate)
            ImportStyleTemplate(fileNameOf(m_app.m_strStyleFile));
        ApplyPageSetup();
    } else {
        opened = m_pCtrl->OpenDocument(path, QStringLiteral("HTML"), kOpenBasicStyles);
        ImportStyleTemplate(kBasicStyleFile);
        ApplyPageSetup();
        CollectLinkedImages(m_aLinkedImages);
    }
    // Only a file the control has read is ever written back.
    if (opened)
        m_strChapterPath = path;
    m_document.SetTitle(fileNameOf(path));
    ShowChapterState(path);
}

void CLindarView::ShowChapterState(const QString& wantedChapter)
{
    const bool open = !m_strChapterPath.isEmpty();
    if (!open) {
        if (!m_pNoChapter) {
            m_pNoChapter = new QLabel(this);
            m_pNoChapter->setAlignment(Qt::AlignCenter);
            m_pNoChapter->setWordWrap(true);
            layout()->addWidget(m_pNoChapter);
        }
        const QString name = wantedChapter.isEmpty()
            ? QString()
            : QDir(m_document.GetWorkFolder()).relativeFilePath(wantedChapter);
        m_pNoChapter->setText(texts::NoChapterOpened().arg(name));
    }
    if (m_pNoChapter)
        m_pNoChapter->setVisible(!open);
    if (m_pCtrl)
        m_pCtrl->setVisible(open);
}

bool CLindarView::SaveChapter()
{
    if (!m_pCtrl || m_strChapterPath.isEmpty() || !QFileInfo::exists(m_strChapterPath))
        return true; // nothing open to write back
    // A chapter the user did not change stays the file it was, byte for byte.
    if (!m_pCtrl->IsModified(1))
        return true;
    m_document.FitImagesToPaper(false);
    if (!m_pCtrl->SaveDocumentAs(m_strChapterPath, kWriteFormat, kWriteOptions)) {
        // The chapter's edits are still only in the control: keep them there, keep every
        // picture, and keep the book marked so that closing it asks first.
        if (!m_bUnsaved)
            m_bUnsaved = m_pCtrl->IsModified(1);
        platform::ShowMessage(texts::ChapterSaveFailed().arg(m_strChapterPath), texts::AppTitle(),
                              platform::MessageButtons::Ok, platform::MessageIcon::Warning, this);
        return false;
    }
    m_bUnsaved = true;
    m_pCtrl->OpenDocument(m_strChapterPath, QString(),
                          m_app.m_nStyleChoice == 1 ? kReopenOwnStyles : kReopenBasicStyles);
    QStringList linkedNow;
    CollectLinkedImages(linkedNow);
    UpdatePictures(linkedNow);
    // The next write-back compares with what the chapter shows now.
    m_aLinkedImages = linkedNow;
    return true;
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

    // A picture another chapter of the book still shows stays, wherever that chapter lies.
    if (!removed.isEmpty()) {
        const QStringList chapters = BookChapterFiles();
        for (int i = int(removed.size()) - 1; i >= 0; --i) {
            for (const QString& chapter : chapters) {
                if (IsImageUsed(chapter, removed.at(i))) {
                    removed.removeAt(i);
                    break;
                }
            }
        }
    }

    // The manifest items are found by the file their href names, before the files go.
    QStringList removedFiles;
    for (const QString& picture : removed)
        removedFiles.append(cleanFilePath(picture));
    platform::QtTreeControl* manifest = m_frame.Panes().ManifestTree();
    QList<platform::TreeItem> removedItems;
    for (platform::TreeItem item = manifest->GetRootItem(); item && !removed.isEmpty();
         item = manifest->GetNextSiblingItem(item)) {
        if (removedFiles.contains(ManifestItemFile(item)))
            removedItems.append(item);
    }
    for (const QString& picture : removed)
        if (IsInsideBook(picture))
            QFile::remove(picture);
    for (platform::TreeItem item : removedItems)
        manifest->DeleteItem(item);

    for (const QString& picture : added)
        AddPictureItem(picture);
}

QString CLindarView::ManifestItemFile(platform::TreeItem item) const
{
    const platform::QtTreeControl* manifest = m_frame.Panes().ManifestTree();
    const platform::TreeItem mediaType = manifest->GetChildItem(item);
    const platform::TreeItem href = mediaType ? manifest->GetNextSiblingItem(mediaType) : nullptr;
    const QString packageFolder = m_document.GetPackageFolder();
    if (!href || packageFolder.isEmpty())
        return QString();
    return ResolveHref(packageFolder, HrefWithoutFragment(manifest->GetItemText(href)));
}

QStringList CLindarView::BookChapterFiles() const
{
    QStringList files;
    const platform::QtTreeControl* manifest = m_frame.Panes().ManifestTree();
    for (platform::TreeItem item = manifest->GetRootItem(); item; item = manifest->GetNextSiblingItem(item)) {
        const platform::TreeItem mediaTypeItem = manifest->GetChildItem(item);
        const QString mediaType = mediaTypeItem ? manifest->GetItemText(mediaTypeItem) : QString();
        const QString file = ManifestItemFile(item);
        if ((isChapterMediaType(mediaType) || isChapterFileName(file)) && IsInsideBook(file)
            && !files.contains(file))
            files.append(file);
    }
    // Chapter files beside the first chapter count too, listed in the manifest or not.
    const QFileInfoList contentFiles = QDir(m_strContentFolder).entryInfoList(QDir::Files | QDir::Hidden);
    for (const QFileInfo& file : contentFiles)
        if (isChapterFileName(file.fileName()) && !files.contains(file.filePath()))
            files.append(file.filePath());
    return files;
}

void CLindarView::AddPictureItem(const QString& picturePath)
{
    // A manifest item always names a file that is in the book.
    if (!IsInsideBook(picturePath) || !QFileInfo(picturePath).isFile())
        return;
    platform::QtTreeControl* manifest = m_frame.Panes().ManifestTree();
    const QString pictureFile = cleanFilePath(picturePath);
    QStringList ids;
    for (platform::TreeItem item = manifest->GetRootItem(); item; item = manifest->GetNextSiblingItem(item)) {
        if (ManifestItemFile(item) == pictureFile)
            return; // the manifest has it already
        ids.append(manifest->GetItemText(item));
    }
    const QString fileName = fileNameOf(picturePath);
    QString id = cutBeforeLastDot(fileName);
    // Ids are unique in a manifest: a taken one gets a number.
    for (int n = 2; ids.contains(id); ++n)
        id = cutBeforeLastDot(fileName) + QStringLiteral("_%1").arg(n);
    const int dot = fileName.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot >= 0 ? fileName.mid(dot + 1).toUpper() : QString();
    // The href is where the picture lies from the package folder: "images/NAME" for a
    // chapter beside the package document, with the chapter's folder in front otherwise.
    QString href = QStringLiteral("images/") + fileName;
    const QString packageFolder = m_document.GetPackageFolder();
    if (!packageFolder.isEmpty()) {
        const QString relative = QDir(packageFolder).relativeFilePath(QFileInfo(picturePath).absoluteFilePath());
        if (!relative.startsWith(QLatin1String("..")))
            href = relative;
    }
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
    const QString pictureName = fileNameOf(picturePath);
    CXmlDocument document;
    if (!document.Parse(filePath)) {
        // A chapter that is not well-formed XML (an HTML file) still shows its pictures:
        // any mention of the picture's name keeps the picture.
        QFile file(filePath);
        if (!file.open(QIODevice::ReadOnly))
            return false;
        const QByteArray text = file.readAll();
        return text.contains(pictureName.toUtf8()) || text.contains(QUrl::toPercentEncoding(pictureName));
    }
    // Every img element counts, wherever it stands in the body.
    for (const CXmlNode& node : document.GetDocumentElement().GetElementsByTagName(QStringLiteral("img"))) {
        if (node.GetType() != CXmlNode::NODE_ELEMENT)
            continue;
        const QList<CXmlNode> attributes = node.GetAttributes();
        for (int i = int(attributes.size()) - 1; i >= 0; --i) {
            if (attributes.at(i).GetName().toLower() != QLatin1String("src"))
                continue;
            const QString value = HrefWithoutFragment(attributes.at(i).GetValue());
            const QString name = value.mid(value.lastIndexOf(QLatin1Char('/')) + 1);
            if (name == pictureName || QUrl::fromPercentEncoding(name.toUtf8()) == pictureName)
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
        fillStyleTemplate(*m_pCtrl, 20, styleFilePath(styleFileName), true);
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

void CLindarView::CloseChapter()
{
    if (m_pCtrl)
        m_pCtrl->ClearDocument(1);
    m_aLinkedImages.clear();
    m_strChapterPath.clear();
    ShowChapterState(QString());
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
