#pragma once
// "새 전자책 템플릿 선택하기": a new book from one of the word-processor templates, shown as a
// row of page thumbnails, or an existing book. Each opening extracts the templates' previews
// into the thumbnail folder and loads them four at a time on a 100 ms timer, so the dialog
// shows at once. The caller creates the book or runs the open command.
#include <QBasicTimer>
#include <QDialog>
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

class CThumbnailList;
class QRadioButton;

class CSelectEBOOKTemplate : public QDialog {
    Q_OBJECT
    Q_PROPERTY(QString templateFolder READ GetTemplateFolder)
    Q_PROPERTY(QString thumbnailFolder READ GetThumbnailFolder)
public:
    enum Choice { NewFromTemplate = 0, OpenExisting = 1 };
    static constexpr int kThumbWidth = 132;
    static constexpr int kThumbHeight = 177;
    static constexpr int kBatchSize = 4;
    static constexpr int kTimerMs = 100;

    // The templates of the program's "template" folder; the thumbnails in the writable
    // "thumbnail" folder beside it (or the user's own, for an installed copy).
    explicit CSelectEBOOKTemplate(const QString& caption, QWidget* parent = nullptr);
    CSelectEBOOKTemplate(const QString& caption, const QString& templateFolder, const QString& thumbnailFolder,
                         QWidget* parent = nullptr);

    QString GetTemplateFolder() const { return m_strTemplateFolder; }
    QString GetThumbnailFolder() const { return m_strThumbnailFolder; }
    // After OK: the radio choice, and for a chosen thumbnail the template path.
    int GetChoice() const { return m_nChoice; }
    QString GetTemplatePath() const { return m_strTemplatePath; }

    // The label of a thumbnail from its file title, compared in lower case.
    static QString LabelForTitle(const QString& fileTitle);
    // The template a thumbnail stands for: ".gif" becomes ".tdt" and "/thumbnail/" becomes
    // "/template/" in the thumbnail's place below its data folder, exactly, every occurrence.
    static QString TemplatePathFor(const QString& thumbnailPath, const QString& templateFolder);

    const QStringList& TemplatePaths() const { return m_aTemplatePaths; }
    const QStringList& ThumbnailPaths() const { return m_aThumbnailPaths; }
    // The image list: one 132 x 177 picture per thumbnail; null until its batch has loaded.
    const QList<QImage>& Images() const { return m_aImages; }
    CThumbnailList* List() const { return m_pList; }
    bool TimerActive() const { return m_timer.isActive(); }

    // One tick of timer 0: the next batch, and the timer's end once all are in.
    void OnTimer();
    void accept() override;
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void BuildControls();
    void OnInitDialog();
    void CollectTemplates();
    void ExtractPreviews();
    bool ScanThumbnails();
    void LoadBatch();
    void OnChoice(int choice);
    static QImage LoadThumbnail(const QString& path);
    static QImage Placeholder();

    QString m_strTemplateFolder;
    QString m_strThumbnailFolder;
    QString m_strTemplatePath;
    int m_nChoice = NewFromTemplate;
    CThumbnailList* m_pList = nullptr;
    QRadioButton* m_pNewRadio = nullptr;
    QRadioButton* m_pOpenRadio = nullptr;
    QList<QImage> m_aImages;
    QStringList m_aTemplatePaths;
    QStringList m_aThumbnailPaths;
    int m_nNextIndex = 0;
    bool m_bInitialised = false;
    QBasicTimer m_timer; // timer 0
};
