#pragma once
// `lindar --screenshot FILE`: once start-up (and a book given on the command line) is done,
// a picture of the main window goes to FILE and the editor closes. Nobody watches such a
// run, so a question that comes up meanwhile (the style question of a book, the save
// question on closing) is answered "No", or dismissed when it has no "No".
#include <QObject>
#include <QString>
#include <QTimer>

class CMainFrame;

class CScreenshotRun : public QObject {
    Q_OBJECT
public:
    CScreenshotRun(CMainFrame& frame, const QString& file);
    void Start(int delayMs);
    bool Failed() const { return m_bFailed; }

private:
    void TakePicture();
    // Answers the question or dialog that is up, if any; true when there was one.
    static bool AnswerOpenQuestion();

    CMainFrame& m_frame;
    QString m_strFile;
    QTimer m_pictureTimer;
    QTimer m_answerTimer;
    bool m_bFailed = false;
};
