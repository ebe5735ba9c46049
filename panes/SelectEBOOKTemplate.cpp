#include "panes/SelectEBOOKTemplate.h"

#include "panes/PaneTexts.h"
#include "panes/ThumbnailList.h"
#include "platform/core/CompoundFile.h"
#include "platform/core/FolderListing.h"
#include "platform/core/KnownFolders.h"
#include "platform/core/MessageBox.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSaveFile>
#include <QTimerEvent>
#include <QVBoxLayout>

namespace {

constexpr int kFirstItemX = 6;
constexpr int kItemStep = 138;

const char* const kPictureExtensions[] = {".BMP", ".DIB", ".EMF", ".GIF", ".ICO", ".JPG", ".WMF"};

struct TemplateLabel {
    const char* title;
    const char* label;
};
const TemplateLabel kLabels[] = {
    {"01_vendara_basic_template", "빈 템플릿"},
    {"02_novel", "소설 기본 템플릿1"},
    {"03_novel", "소설 기본 템플릿2"},
    {"04_novel_large", "소설 기본 템플릿3"},
    {"05_novel_large", "소설 기본 템플릿4"},
};

// The name without folder and extension (up to its last ".").
QString fileTitleOf(const QString& path) { return QFileInfo(path).completeBaseName(); }

QString extensionOf(const QString& name)
{
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    return dot >= 0 ? name.mid(dot) : QString();
}

bool isPictureName(const QString& name)
{
    const QString extension = extensionOf(name).toUpper();
    for (const char* known : kPictureExtensions)
        if (extension == QLatin1String(known))
            return true;
    return false;
}

QString parentOf(const QString& folder) { return QFileInfo(folder).path(); }

} // namespace

CSelectEBOOKTemplate::CSelectEBOOKTemplate(const QString& caption, QWidget* parent)
    : CSelectEBOOKTemplate(caption, platform::ProgramDataFolder(QStringLiteral("template")),
                           platform::WritableDataFolder(QStringLiteral("thumbnail")), parent)
{
}

CSelectEBOOKTemplate::CSelectEBOOKTemplate(const QString& caption, const QString& templateFolder,
                                           const QString& thumbnailFolder, QWidget* parent)
    : QDialog(parent)
    , m_strTemplateFolder(templateFolder)
    , m_strThumbnailFolder(thumbnailFolder)
{
    setObjectName(QStringLiteral("CSelectEBOOKTemplate"));
    setWindowTitle(caption);
    BuildControls();
}

void CSelectEBOOKTemplate::BuildControls()
{
    auto* heading = new QLabel(panetexts::TemplateHeading(), this);
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    m_pNewRadio = new QRadioButton(panetexts::NewFromTemplate(), this);
    m_pNewRadio->setObjectName(QStringLiteral("radio1007"));
    m_pOpenRadio = new QRadioButton(panetexts::OpenExistingBook(), this);
    m_pOpenRadio->setObjectName(QStringLiteral("radio1008"));
    auto* group = new QButtonGroup(this);
    group->addButton(m_pNewRadio, NewFromTemplate);
    group->addButton(m_pOpenRadio, OpenExisting);
    m_pNewRadio->setChecked(true);
    connect(group, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            OnChoice(id);
    });

    m_pList = new CThumbnailList(this);
    m_pList->setObjectName(QStringLiteral("list1006"));
    m_pList->setViewMode(QListView::IconMode);
    m_pList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pList->setMovement(QListView::Free); // items are placed in one row below
    m_pList->setDragDropMode(QAbstractItemView::NoDragDrop);
    m_pList->setFlow(QListView::LeftToRight);
    m_pList->setWrapping(false);
    m_pList->setIconSize(QSize(kThumbWidth, kThumbHeight));
    m_pList->setFrameShape(QFrame::StyledPanel);
    m_pList->setMinimumSize(5 * kItemStep + 2 * kFirstItemX, kThumbHeight + 60);
    connect(m_pList, &QListWidget::itemDoubleClicked, this, [this] { accept(); });

    auto* buttons = new QDialogButtonBox(Qt::Vertical, this);
    QPushButton* ok = buttons->addButton(panetexts::Ok(), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    buttons->addButton(panetexts::Cancel(), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &CSelectEBOOKTemplate::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CSelectEBOOKTemplate::reject);

    auto* left = new QVBoxLayout;
    left->addWidget(heading);
    left->addWidget(line);
    left->addWidget(m_pNewRadio);
    left->addWidget(m_pOpenRadio);
    left->addWidget(m_pList, 1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addWidget(buttons);
}

QString CSelectEBOOKTemplate::LabelForTitle(const QString& fileTitle)
{
    const QString lowered = fileTitle.toLower();
    for (const TemplateLabel& entry : kLabels)
        if (lowered == QLatin1String(entry.title))
            return QString::fromUtf8(entry.label);
    return lowered;
}

QString CSelectEBOOKTemplate::TemplatePathFor(const QString& thumbnailPath, const QString& templateFolder)
{
    // Only the thumbnail's own part is rewritten: a folder above it that happens to hold
    // ".gif" or "/thumbnail/" in its name stays as it is, and the user's own thumbnail
    // folder of an installed copy leads to the installed templates.
    const QString thumbnailRoot = parentOf(QFileInfo(thumbnailPath).path());
    QString own = thumbnailPath.mid(thumbnailRoot.size());
    own.replace(QStringLiteral(".gif"), QStringLiteral(".tdt"));
    own.replace(QStringLiteral("/thumbnail/"), QStringLiteral("/template/"));
    return parentOf(templateFolder) + own;
}

void CSelectEBOOKTemplate::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_bInitialised) {
        m_bInitialised = true;
        OnInitDialog();
    }
}

void CSelectEBOOKTemplate::OnInitDialog()
{
    m_aImages.clear();
    m_timer.start(kTimerMs, this);
    CollectTemplates();
    ExtractPreviews();
    if (ScanThumbnails())
        LoadBatch();
}

void CSelectEBOOKTemplate::CollectTemplates()
{
    m_aTemplatePaths.clear();
    QStringList names;
    QString error;
    if (!platform::ListFolderFiles(m_strTemplateFolder, names, error)) {
        platform::ShowMessage(error, panetexts::ErrorCaption(), platform::MessageButtons::Ok,
                              platform::MessageIcon::Error, this);
        return; // a listing that broke off collects nothing either
    }
    for (const QString& name : names)
        if (extensionOf(name).compare(QLatin1String(".tdt"), Qt::CaseInsensitive) == 0)
            m_aTemplatePaths.append(m_strTemplateFolder + QLatin1Char('/') + name);
}

void CSelectEBOOKTemplate::ExtractPreviews()
{
    if (m_strThumbnailFolder.isEmpty())
        return;
    for (const QString& path : std::as_const(m_aTemplatePaths)) {
        QByteArray preview;
        if (!platform::CompoundFile::readStream(path, QStringLiteral("PrvImage"), preview))
            continue; // not a compound file, or no preview in it
        QSaveFile file(m_strThumbnailFolder + QLatin1Char('/') + fileTitleOf(path) + QStringLiteral(".gif"));
        if (file.open(QIODevice::WriteOnly) && file.write(preview) == preview.size())
            file.commit();
    }
}

bool CSelectEBOOKTemplate::ScanThumbnails()
{
    m_aThumbnailPaths.clear();
    QStringList names;
    QString error;
    const bool listed = platform::ListFolderFiles(m_strThumbnailFolder, names, error);
    for (const QString& name : std::as_const(names))
        if (isPictureName(name))
            m_aThumbnailPaths.append(m_strThumbnailFolder + QLatin1Char('/') + name);
    if (!listed)
        platform::ShowMessage(error, panetexts::ErrorCaption(), platform::MessageButtons::Ok,
                              platform::MessageIcon::Error, this);
    return listed;
}

QImage CSelectEBOOKTemplate::Placeholder()
{
    QImage image(kThumbWidth, kThumbHeight, QImage::Format_RGB888);
    image.fill(QColor(240, 240, 240));
    QPainter painter(&image);
    painter.setPen(QColor(160, 160, 160));
    painter.drawRect(0, 0, kThumbWidth - 1, kThumbHeight - 1);
    painter.drawLine(0, 0, kThumbWidth - 1, kThumbHeight - 1);
    painter.drawLine(kThumbWidth - 1, 0, 0, kThumbHeight - 1);
    return image;
}

QImage CSelectEBOOKTemplate::LoadThumbnail(const QString& path)
{
    QImage picture(path);
    if (picture.isNull())
        return Placeholder();
    QImage stretched = picture.scaled(kThumbWidth, kThumbHeight, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    if (stretched.hasAlphaChannel()) {
        // Transparent parts show the page's white, not black.
        QImage opaque(stretched.size(), QImage::Format_RGB888);
        opaque.fill(Qt::white);
        QPainter(&opaque).drawImage(0, 0, stretched);
        return opaque;
    }
    return stretched.convertToFormat(QImage::Format_RGB888);
}

void CSelectEBOOKTemplate::LoadBatch()
{
    const int count = int(m_aThumbnailPaths.size());
    if (count == 0)
        return;
    m_pList->setUpdatesEnabled(false);
    const bool first = m_nNextIndex == 0;
    if (first) {
        m_aImages.clear();
        m_pList->clear();
        for (int i = 0; i < count; ++i)
            m_aImages.append(QImage());
    }
    const int end = qMin(m_nNextIndex + kBatchSize, count);
    for (int i = m_nNextIndex; i < end; ++i) {
        m_aImages[i] = LoadThumbnail(m_aThumbnailPaths.at(i));
        if (QListWidgetItem* item = m_pList->item(i))
            item->setIcon(QPixmap::fromImage(m_aImages.at(i)));
    }
    if (first) {
        QPixmap empty(kThumbWidth, kThumbHeight);
        empty.fill(Qt::white);
        for (int i = 0; i < count; ++i) {
            auto* item = new QListWidgetItem(LabelForTitle(fileTitleOf(m_aThumbnailPaths.at(i))), m_pList);
            item->setIcon(m_aImages.at(i).isNull() ? empty : QPixmap::fromImage(m_aImages.at(i)));
        }
        m_pList->doItemsLayout();
        for (int i = 0; i < count; ++i)
            m_pList->PlaceItem(i, kFirstItemX + kItemStep * i);
    }
    m_nNextIndex = end;
    m_pList->setUpdatesEnabled(true);
    m_pList->viewport()->update();
}

void CSelectEBOOKTemplate::OnTimer()
{
    LoadBatch();
    if (m_nNextIndex >= int(m_aThumbnailPaths.size())) {
        m_timer.stop();
        m_nNextIndex = 0;
    }
}

void CSelectEBOOKTemplate::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == m_timer.timerId())
        OnTimer();
    else
        QDialog::timerEvent(event);
}

void CSelectEBOOKTemplate::OnChoice(int choice)
{
    m_nChoice = choice;
    m_pList->setEnabled(choice == NewFromTemplate);
}

void CSelectEBOOKTemplate::accept()
{
    const int row = m_pList->SelectedRow();
    if (row >= 0 && row < m_aThumbnailPaths.size()) {
        m_strTemplatePath = TemplatePathFor(m_aThumbnailPaths.at(row), m_strTemplateFolder);
        QDialog::accept();
        return;
    }
    if (m_nChoice == OpenExisting) {
        QDialog::accept();
        return;
    }
    platform::ShowMessage(panetexts::NoTemplateSelected(), windowTitle(), platform::MessageButtons::Ok,
                          platform::MessageIcon::Error, this);
}

void CSelectEBOOKTemplate::done(int result)
{
    m_timer.stop(); // closing stops the loading; the thumbnail files stay
    QDialog::done(result);
}
