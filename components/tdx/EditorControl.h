#pragma once
// The word-processor control: a QTextEdit over our TextDocument that answers the Control
// interface. It opens chapters (XHTML/HTML) and its own document format, writes chapters
// back with their pictures, keeps a style list, bookmarks, page geometry and pictures as
// drawing objects with sizes relative to the page.
#include "components/tdx/ChapterHead.h"
#include "components/tdx/Control.h"
#include "components/tdx/Markup.h"
#include "components/tdx/PageGeometry.h"
#include "components/tdx/StyleList.h"

#include <QHash>
#include <QPointer>
#include <QTextEdit>

class QImage;
class QPrinter;
class QTextImageFormat;

namespace tdx {

class FindDialog;
class IslandObject;
class ShapeObject;
class TextDocument;

class EditorControl : public QTextEdit, public Control {
public:
    explicit EditorControl(QWidget* parent = nullptr);
    ~EditorControl() override;

    // Control
    QWidget* widget() override { return this; }
    DrawingObjectPtr firstObject() override;
    DrawingObjectPtr lastObject() override;
    ParameterSetPtr viewProperties() override;
    void setViewProperties(const ParameterSet& set) override;
    void clear(int option) override;
    ActionPtr createAction(const QString& name) override;
    bool open(const QString& path, const QString& format, const QString& options) override;
    bool run(const QString& actionName) override;
    bool isModified(int option) override;
    bool saveAs(const QString& path, const QString& format, const QString& options) override;
    bool status(Status& status) override;
    ParameterSetPtr scrollState() override;
    void setScrollState(const ParameterSet& set) override;
    bool registerModule(const QString& type, const QString& name) override;
    bool exportStyles(const ParameterSet& set) override;
    bool importStyles(const ParameterSet& set) override;
    QString picturePath(int fileName) override;

    // What the actions and drawing objects work on.
    const PageGeometry& page() const { return m_page; }
    bool setPage(const PageGeometry& page);
    int applyTo() const { return m_applyTo; }
    int applyClass() const { return m_applyClass; }
    void setApplyScope(int applyTo, int applyClass) { m_applyTo = applyTo; m_applyClass = applyClass; }
    DrawingObjectPtr objectAfter(quint64 pictureId);
    ParameterSetPtr pictureProperties(quint64 pictureId);
    bool setPictureProperties(quint64 pictureId, const ParameterSet& set);
    int currentIndentation() const;
    void setIndentation(int units);
    bool insertBookmark(const QString& name);
    bool moveToBookmark(const QString& name);
    bool deleteBookmark(const QString& name);
    QStringList bookmarks() const;
    int currentStyleIndex() const;
    bool applyStyle(int index);
    const StyleList& styles() const { return m_styles; }
    QStringList registeredModules() const { return m_modules; }
    int zoomRatio() const { return m_zoom; }

    // What the dialogs put into the text.
    // A picture file at the caret; a linked one must lie in the chapter's folder, a picture
    // from elsewhere is held by the document (and written into the picture folder). Sizes in
    // pixels, 0 for the picture's own.
    bool insertPictureFile(const QString& path, bool embedded, int width, int height);
    bool insertTable(int rows, int columns);
    // Inserts the equation drawn as a picture, or replaces the equation at the caret.
    bool insertEquation(const QString& source);
    // The source of the equation beside the caret (selected then), or empty.
    QString equationAtCaret();
    // The chapter on the printer, on the page setup's paper unless the printer was set since.
    bool printTo(QPrinter& printer);

protected:
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    struct Picture {
        QString resource;   // the name the document knows the picture by
        QString fullPath;   // the file of a linked picture
        QByteArray data;    // the bytes of an embedded picture
        QString fileName;   // name to write an embedded picture under
        bool embedded = false;
    };
    struct PictureSpot {
        int position;
        QTextImageFormat format;
    };

    bool openChapter(const QString& path, const QByteArray& bytes, const class Options& options);
    void readChapterText(const QString& text);
    bool moveToMarkupId(const QString& id);
    bool openDocumentFile(const QString& path, const class Options& options);
    bool saveChapter(const QString& path, const class Options& options);
    bool saveDocumentFile(const QString& path);
    QByteArray previewGif();
    void resetDocument();
    void showDocument();
    void finishLoading(bool takeControlStyles);
    void applyStyleBase();
    static int styleIndexOf(const QTextBlockFormat& format);

    // pictures
    QList<PictureSpot> pictureSpots() const;
    void syncPictures();
    int registerPicture(const QString& resource);
    int addEmbeddedPicture(const QByteArray& data, const QString& fileName);
    int pictureIndexOf(const QTextImageFormat& format) const;
    void layoutPicture(QTextImageFormat& format) const;
    void relayoutPictures();
    // Layout that follows the page, the zoom or the control's styles is no edit of the chapter.
    void keepingModified(const std::function<void()>& change);
    bool setPictureFormat(quint64 pictureId, const std::function<void(QTextImageFormat&)>& change);
    DrawingObjectPtr objectFor(quint64 pictureId);

    void applyViewGeometry();
    bool runByName(const QString& name);
    bool insertFile();
    void insertEmbeddedPicture(const QByteArray& data, const QString& fileName, const QImage& image,
                               const QTextImageFormat& extra);
    // the interactive actions
    using DialogAction = bool (EditorControl::*)();
    static DialogAction dialogActionFor(const QString& name);
    bool showFindDialog();
    bool insertPictureDialog();
    bool createTableDialog();
    bool createEquationDialog();
    bool styleDialog();
    bool spellingCheck();
    bool dictionaryLookUp();
    bool printDialog();
    bool printPreview();
    void takeInPictures(int from, int to);
    void toggleCharFormat(const std::function<void(QTextCharFormat&, const QTextCharFormat&)>& change);
    void toggleList(QTextListFormat::Style style);
    void changeLeftMargin(int units);

    TextDocument* m_document = nullptr; // the document being read, then the one shown
    IslandObject* m_islands;
    ChapterHead m_head;
    MarkupTable m_markup;
    PageGeometry m_page;
    StyleList m_styles;
    QList<Picture> m_pictures;
    QHash<QString, int> m_pictureByResource;
    QHash<quint64, std::weak_ptr<ShapeObject>> m_objects;
    std::shared_ptr<ShapeObject> m_endObject;
    quint64 m_nextPictureId = 1;
    bool m_linkPictures = true;
    bool m_takesControlStyles = false;
    int m_zoom = 100;
    int m_applyTo = 3;
    int m_applyClass = 24;
    QString m_path;
    QStringList m_modules;
    QPointer<FindDialog> m_findDialog;
};

} // namespace tdx
