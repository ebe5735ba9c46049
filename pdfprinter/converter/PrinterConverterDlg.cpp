#include "pdfprinter/converter/PrinterConverterDlg.h"

#include "pdfprinter/converter/ConversionRun.h"
#include "pdfprinter/converter/ConvertJob.h"
#include "pdfprinter/converter/ConverterStrings.h"
#include "platform/core/CopyData.h"
#include "platform/core/MessageBox.h"
#include "platform/core/ProgressInfo.h"
#include "platform/core/Shell.h"
#include "platform/core/ShellPaths.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

namespace {

QLabel* addNameRow(QGridLayout* grid, int row, const QString& caption)
{
    grid->addWidget(new QLabel(caption), row, 0);
    auto* value = new QLabel;
    value->setTextFormat(Qt::PlainText);
    value->setMinimumWidth(330);
    grid->addWidget(value, row, 1);
    return value;
}

// Splits a file name into base and extension (with its dot), as _splitpath does.
void splitName(const QString& fileName, QString* base, QString* extension)
{
    const qsizetype dot = fileName.lastIndexOf(u'.');
    *base = dot < 0 ? fileName : fileName.left(dot);
    *extension = dot < 0 ? QString() : fileName.mid(dot);
}

QString compactedName(const QString& fileName)
{
    QString base;
    QString extension;
    splitName(fileName, &base, &extension);
    return platform::PathCompactPath(base, CPrinterConverterDlg::kCompactLength) + extension;
}

// The caret blink time of the desktop: half of Qt's full cursor flash cycle.
int caretBlinkTime()
{
    const int cycle = QApplication::cursorFlashTime();
    return cycle > 0 ? cycle / 2 : 530;
}

} // namespace

CPrinterConverterDlg::CPrinterConverterDlg(_tagCONVERT_JOB* pJob, bool bInteractive, QWidget* pOwner)
    : QDialog(pOwner)
    , m_bInteractive(bInteractive)
    , m_hIcon(QApplication::style()->standardIcon(QStyle::SP_FileDialogDetailedView))
    , m_pJob(pJob)
    , m_pOwner(pOwner)
{
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_QuitOnClose, false);

    auto* names = new QGridLayout;
    m_lblDocumentName = addNameRow(names, 0, QStringLiteral("문서 이름 :"));
    m_lblPdfName = addNameRow(names, 1, QStringLiteral("PDF 이름 :"));
    m_lblPdfFolder = addNameRow(names, 2, QStringLiteral("PDF 폴더 :"));

    auto* group = new QGroupBox(QStringLiteral("진행 상황"));
    auto* progressLayout = new QVBoxLayout(group);
    m_lblStatus = new QLabel;
    m_lblStatus->setTextFormat(Qt::PlainText);
    m_ctrlProgress = new QProgressBar;
    m_ctrlProgress->setTextVisible(false);
    progressLayout->addWidget(m_lblStatus);
    progressLayout->addWidget(m_ctrlProgress);

    m_btnOpen = new QPushButton(QStringLiteral("열기(&O)"));
    m_btnCancel = new QPushButton(LoadConverterString(IDS_CANCEL));
    // Enter and Escape keep their own meaning; the buttons take no default role.
    m_btnOpen->setAutoDefault(false);
    m_btnCancel->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_btnOpen);
    buttons->addWidget(m_btnCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(names);
    layout->addWidget(group);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    m_lblDocumentName->setObjectName(QStringLiteral("IDC_DOCUMENT_NAME"));
    m_lblPdfName->setObjectName(QStringLiteral("IDC_PDF_NAME"));
    m_lblPdfFolder->setObjectName(QStringLiteral("IDC_PDF_FOLDER"));
    m_lblStatus->setObjectName(QStringLiteral("IDC_STATUS"));
    m_ctrlProgress->setObjectName(QStringLiteral("IDC_PROGRESS"));
    m_btnOpen->setObjectName(QStringLiteral("IDC_OPEN"));
    m_btnCancel->setObjectName(QStringLiteral("IDC_CANCEL"));

    connect(m_btnCancel, &QPushButton::clicked, this, &CPrinterConverterDlg::OnBnClickedCancel);
    connect(m_btnOpen, &QPushButton::clicked, this, &CPrinterConverterDlg::OnBnClickedOpen);

    m_convertTimer.setSingleShot(true);
    m_convertTimer.setInterval(100);
    connect(&m_convertTimer, &QTimer::timeout, this, [this] { OnTimer(TIMER_CONVERT); });
    connect(&m_flashTimer, &QTimer::timeout, this, [this] { OnTimer(TIMER_FLASH); });

    OnInitDialog();
}

CPrinterConverterDlg::~CPrinterConverterDlg() = default;

void CPrinterConverterDlg::OnInitDialog()
{
    setWindowTitle(ConverterCaption());
    setWindowIcon(m_hIcon);
    // The program that printed may have disabled its window while waiting for us.
    QWidget* owner = m_pOwner ? m_pOwner : parentWidget();
    if (owner && !owner->isEnabled())
        owner->setEnabled(true);

    m_btnOpen->setEnabled(false);
    if (m_pJob) {
        m_convertTimer.start();
    } else {
        m_btnCancel->setText(LoadConverterString(IDS_CLOSE));
        m_bDone = true;
    }
}

int CPrinterConverterDlg::DoModal()
{
    if (m_bInteractive) {
        adjustSize();
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            move(screen->availableGeometry().center() - rect().center());
        show();
    }
    if (!m_bEnded)
        m_loop.exec();
    m_convertTimer.stop();
    m_flashTimer.stop();
    return m_nResult;
}

void CPrinterConverterDlg::EndDialog(int nResult)
{
    m_nResult = nResult;
    m_bEnded = true;
    QDialog::setVisible(false);
    m_loop.exit(nResult); // takes effect once the current handler (and the run) returns
}

void CPrinterConverterDlg::setVisible(bool visible)
{
    // A silent dialog never appears, whoever asks.
    if (visible && !m_bInteractive)
        return;
    QDialog::setVisible(visible);
}

platform::LRESULT CPrinterConverterDlg::sendMessage(unsigned message, platform::WPARAM wParam, platform::LPARAM lParam)
{
    if (message == WM_CONVERT_PROGRESS)
        return OnConvertProgress(wParam, lParam);
    return 0;
}

void CPrinterConverterDlg::dispatchPending()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

quint32 CPrinterConverterDlg::WindowHandleValue() const
{
    // One dialog per converter process: the process id names it well enough.
    return static_cast<quint32>(QCoreApplication::applicationPid());
}

QWidget* CPrinterConverterDlg::GetDlgItem(int id) const
{
    switch (id) {
    case IDC_PROGRESS: return m_ctrlProgress;
    case IDC_DOCUMENT_NAME: return m_lblDocumentName;
    case IDC_STATUS: return m_lblStatus;
    case IDC_PDF_FOLDER: return m_lblPdfFolder;
    case IDC_PDF_NAME: return m_lblPdfName;
    case IDC_CANCEL: return m_btnCancel;
    case IDC_OPEN: return m_btnOpen;
    default: return nullptr;
    }
}

QString CPrinterConverterDlg::OutputPath() const
{
    return m_pJob ? JobText(m_pJob->szOutputPath) : QString();
}

void CPrinterConverterDlg::UpdateData(bool bSaveAndValidate)
{
    if (bSaveAndValidate) {
        m_strDocumentName = m_lblDocumentName->text();
        m_strPdfName = m_lblPdfName->text();
        m_strPdfFolder = m_lblPdfFolder->text();
        m_strStatus = m_lblStatus->text();
    } else {
        m_lblDocumentName->setText(m_strDocumentName);
        m_lblPdfName->setText(m_strPdfName);
        m_lblPdfFolder->setText(m_strPdfFolder);
        m_lblStatus->setText(m_strStatus);
    }
}

QString CPrinterConverterDlg::DocumentLine(const QString& documentName)
{
    QString shown;
    if (platform::PathIsUrl(documentName)) {
        shown = platform::PathCompactPath(documentName, kCompactLength);
    } else {
        shown = compactedName(documentName.mid(documentName.lastIndexOf(u'/') + 1));
    }
    return FormatConverterString(IDS_DOCUMENT_LINE, {shown});
}

QString CPrinterConverterDlg::PdfNameLine(const QString& outputPath)
{
    const qsizetype separator = outputPath.lastIndexOf(u'/');
    const QString name = separator < 0 ? QString() : outputPath.mid(separator + 1);
    return FormatConverterString(IDS_NAME_LINE, {compactedName(name)});
}

QString CPrinterConverterDlg::PdfFolderLine(const QString& outputPath)
{
    const qsizetype separator = outputPath.lastIndexOf(u'/');
    const QString folder = separator < 0 ? QString() : outputPath.left(separator + 1);
    return FormatConverterString(IDS_FOLDER_LINE, {platform::PathCompactPath(folder, kCompactLength)});
}

platform::LRESULT CPrinterConverterDlg::OnConvertProgress(platform::WPARAM kind, platform::LPARAM info)
{
    const auto* progress = reinterpret_cast<const _tagPROGRESS_INFO*>(info);
    const auto notification = static_cast<unsigned>(kind);
    if (notification == PROGRESS_DONE)
        m_bConverted = true;
    if (m_bInteractive) {
        UpdateData(true);
        ReactInteractive(notification, progress);
        UpdateData(false);
    } else {
        ReactSilent(notification);
        Relay(notification, progress);
    }
    return 1;
}

void CPrinterConverterDlg::ReactInteractive(unsigned kind, const _tagPROGRESS_INFO* info)
{
    switch (kind) {
    case PROGRESS_BEGIN: {
        m_ctrlProgress->setRange(0, 100);
        const QString documentName = m_pJob ? JobText(m_pJob->szDocumentName) : QString();
        m_strDocumentName = DocumentLine(documentName);
        m_strPdfName = PdfNameLine(OutputPath());
        m_strPdfFolder = PdfFolderLine(OutputPath());
        m_btnCancel->setText(LoadConverterString(IDS_CANCEL));
        m_bDone = false;
        break;
    }
    case PROGRESS_PAGE:
        if (info) {
            const QString status = FormatConverterString(
                IDS_PAGE_STATUS, {QString::number(qint32(info->nCurrentPage)), QString::number(qint32(info->nTotalPages))});
            if (status != m_strStatus)
                m_strStatus = status;
        }
        break;
    case PROGRESS_PERCENT:
        if (info && m_ctrlProgress->value() != int(info->nPercent))
            m_ctrlProgress->setValue(int(info->nPercent));
        break;
    case PROGRESS_SAVING:
        m_strStatus = LoadConverterString(IDS_SAVING);
        break;
    case PROGRESS_DONE:
        m_strStatus = LoadConverterString(IDS_DONE);
        m_ctrlProgress->setValue(m_ctrlProgress->maximum());
        m_btnOpen->setEnabled(true);
        m_btnCancel->setText(LoadConverterString(IDS_CLOSE));
        m_bDone = true;
        break;
    case PROGRESS_ABORT:
        DeleteOutputFile();
        EndDialog(IDCANCEL);
        break;
    default:
        break;
    }
}

void CPrinterConverterDlg::ReactSilent(unsigned kind)
{
    if (kind == PROGRESS_DONE) {
        EndDialog(IDCANCEL);
    } else if (kind == PROGRESS_ABORT) {
        DeleteOutputFile();
        EndDialog(IDCANCEL);
    }
}

void CPrinterConverterDlg::Relay(unsigned kind, const _tagPROGRESS_INFO* info)
{
    const quint32 target = m_pJob ? m_pJob->hNotifyWnd : 0;
    if (target == 0)
        return; // nobody listens; the dialog still ends on DONE and ABORT
    platform::CopyDataMessage message;
    message.sender = WindowHandleValue();
    message.dataWord = kind;
    if (info)
        message.bytes = QByteArray(reinterpret_cast<const char*>(info), sizeof(_tagPROGRESS_INFO));
    platform::SendCopyData(target, message);
}

void CPrinterConverterDlg::DeleteOutputFile()
{
    // Only the empty file made for this job goes; the transcoder never touched the path.
    const QString path = OutputPath();
    if (!path.isEmpty() && m_bOutputCreated && QFileInfo(path).size() == 0)
        QFile::remove(path); // a failed delete is ignored
}

void CPrinterConverterDlg::OnJobUnreadable()
{
    if (m_bInteractive) {
        platform::ShowMessage(LoadConverterString(IDS_JOB_ERROR), ConverterCaption(), platform::MessageButtons::Ok,
                              platform::MessageIcon::Error, this);
    } else if (m_pJob) {
        ReportSilentFailure(*m_pJob, QStringLiteral("the spooler has no job %1 of \"%2\"")
                                         .arg(m_pJob->dwJobId)
                                         .arg(JobText(m_pJob->szPrinterName)));
    }
    // Ends as an aborted conversion would: the empty output file goes, the starter hears ABORT.
    OnConvertProgress(PROGRESS_ABORT, 0);
}

void CPrinterConverterDlg::OnBnClickedCancel()
{
    if (m_bDone) {
        EndDialog(IDOK);
        return;
    }
    // The transcoder watches this value and ends the run with PROGRESS_ABORT.
    platform::SetWindowLongPtr(this, platform::GWLP_USERDATA, 1);
}

void CPrinterConverterDlg::OnBnClickedOpen()
{
    const QString path = OutputPath();
    if (path.isEmpty())
        return;
    int textId = 0;
    if (!QFileInfo::exists(path))
        textId = IDS_NO_DOCUMENT;
    else if (platform::ShellOpen(path))
        EndDialog(IDOK);
    else
        textId = IDS_NO_VIEWER;
    if (textId != 0) {
        platform::ShowMessage(LoadConverterString(textId), ConverterCaption(), platform::MessageButtons::Ok,
                              platform::MessageIcon::Error, this);
    }
}

void CPrinterConverterDlg::OnTimer(int nIDEvent)
{
    if (nIDEvent == TIMER_CONVERT) {
        m_convertTimer.stop();
        if (m_pJob)
            RunConversion(*this, *m_pJob);
        return;
    }
    if (nIDEvent != TIMER_FLASH)
        return;
    if (m_nFlashCount >= kFlashLimit) {
        m_flashTimer.stop();
        m_nFlashCount = 0;
        FlashCaption();
    } else if (m_nActivationState == WA_INACTIVE) {
        ++m_nFlashCount;
        FlashCaption();
    }
}

void CPrinterConverterDlg::StartFlashing()
{
    m_nFlashCount = 0;
    m_flashTimer.start(caretBlinkTime());
}

void CPrinterConverterDlg::FlashCaption()
{
    m_bCaptionHighlighted = !m_bCaptionHighlighted;
    ++m_nCaptionToggles;
    // The desktop's attention hint is what a caption flash becomes here.
    if (m_bCaptionHighlighted && isVisible())
        QApplication::alert(this, m_flashTimer.interval());
}

void CPrinterConverterDlg::OnActivate(int nState)
{
    if (nState == WA_ACTIVE || nState == WA_CLICKACTIVE)
        m_flashTimer.stop();
    m_nActivationState = nState;
}

void CPrinterConverterDlg::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange)
        OnActivate(isActiveWindow() ? WA_ACTIVE : WA_INACTIVE);
}

void CPrinterConverterDlg::closeEvent(QCloseEvent* event)
{
    event->ignore(); // closing is the Cancel button's decision
    OnBnClickedCancel();
}

void CPrinterConverterDlg::keyPressEvent(QKeyEvent* event)
{
    if (event->modifiers() == Qt::NoModifier && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event); // Escape reaches reject()
}

void CPrinterConverterDlg::accept() { EndDialog(IDOK); }

void CPrinterConverterDlg::reject() { EndDialog(IDCANCEL); }
