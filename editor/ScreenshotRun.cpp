#include "editor/ScreenshotRun.h"

#include "editor/MainFrame.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>

#include <cstdio>

namespace {
// How soon to look again while a question is still being answered.
constexpr int kRetryMs = 100;
} // namespace

CScreenshotRun::CScreenshotRun(CMainFrame& frame, const QString& file)
    : m_frame(frame)
    , m_strFile(file)
{
    m_pictureTimer.setSingleShot(true);
    connect(&m_pictureTimer, &QTimer::timeout, this, &CScreenshotRun::TakePicture);
    m_answerTimer.setInterval(kRetryMs);
    connect(&m_answerTimer, &QTimer::timeout, this, [] { AnswerOpenQuestion(); });
}

void CScreenshotRun::Start(int delayMs) { m_pictureTimer.start(delayMs); }

bool CScreenshotRun::AnswerOpenQuestion()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal)
        return false;
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        QAbstractButton* answer = box->button(QMessageBox::No);
        if (!answer)
            answer = box->escapeButton();
        if (answer) {
            answer->click();
            return true;
        }
    }
    if (auto* dialog = qobject_cast<QDialog*>(modal))
        dialog->reject();
    else
        modal->close();
    return true;
}

void CScreenshotRun::TakePicture()
{
    // The picture shows the main window as the user would find it, with no question up.
    if (AnswerOpenQuestion()) {
        m_pictureTimer.start(kRetryMs);
        return;
    }
    if (!m_frame.grab().save(m_strFile)) {
        std::fprintf(stderr, "lindar: cannot write %s\n", qPrintable(m_strFile));
        m_bFailed = true;
    }
    // Closing may ask its own question; the answer timer runs inside that question's loop.
    m_answerTimer.start();
    m_frame.close();
}
