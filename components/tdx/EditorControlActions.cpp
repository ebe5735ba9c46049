// The control's interactive actions: each asks through a dialog, then changes the text.
#include "components/tdx/EditorControl.h"

#include "components/tdx/ChapterPrinter.h"
#include "components/tdx/DialogHooks.h"
#include "components/tdx/DictionaryDialog.h"
#include "components/tdx/Equation.h"
#include "components/tdx/EquationDialog.h"
#include "components/tdx/FindDialog.h"
#include "components/tdx/IslandObject.h"
#include "components/tdx/PictureInsertDialog.h"
#include "components/tdx/SpellDictionaries.h"
#include "components/tdx/SpellingDialog.h"
#include "components/tdx/StyleDialog.h"
#include "components/tdx/TableCreateDialog.h"
#include "components/tdx/TextDocument.h"
#include "components/tdx/TextProperties.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTextTable>
#include <QUrl>

#include <memory>

namespace tdx {

namespace {

const QString kNoDictionary = QStringLiteral(
    "맞춤법 사전이 설치되어 있지 않습니다.\n"
    "hunspell-ko, hunspell-en-us 패키지를 설치하십시오.");

bool isInsideFolder(const QString& path, const QString& folder)
{
    if (folder.isEmpty())
        return false;
    const QString relative = QDir(folder).relativeFilePath(QFileInfo(path).absoluteFilePath());
    return !relative.startsWith(QLatin1String("..")) && !QDir::isAbsolutePath(relative);
}

// Spelling and look-up need a dictionary for the words at hand; say which are missing.
bool dictionariesReady(QWidget* parent, SpellDictionaries& dictionaries, const QString& text)
{
    // Only the dictionaries the text needs are loaded (the Korean one takes a moment).
    const QStringList missing = dictionaries.missingFor(text);
    if (missing.isEmpty())
        return true;
    if (!dictionaries.hasAny()) {
        showMessage(parent, kNoDictionary);
        return false;
    }
    showMessage(parent, QStringLiteral("다음 언어의 맞춤법 사전이 없어 그 낱말은 검사하지 않습니다: %1")
                            .arg(missing.join(QStringLiteral(", "))));
    return true;
}

} // namespace

EditorControl::DialogAction EditorControl::dialogActionFor(const QString& name)
{
    static const QHash<QString, DialogAction> actions{
        {"FindDlg", &EditorControl::showFindDialog},
        {"PictureInsertDialog", &EditorControl::insertPictureDialog},
        {"TableCreate", &EditorControl::createTableDialog},
        {"EquationCreate", &EditorControl::createEquationDialog},
        {"Style", &EditorControl::styleDialog},
        {"SpellingCheck", &EditorControl::spellingCheck},
        {"TdxDic", &EditorControl::dictionaryLookUp},
        {"Print", &EditorControl::printDialog},
        {"FilePreview", &EditorControl::printPreview},
    };
    return actions.value(name, nullptr);
}

// ---------------------------------------------------------------- find

bool EditorControl::showFindDialog()
{
    if (!m_findDialog)
        m_findDialog = new FindDialog(*this);
    m_findDialog->startFromSelection();
    showModelessDialog(*m_findDialog);
    return true;
}

// ---------------------------------------------------------------- pictures, tables, equations

bool EditorControl::insertPictureDialog()
{
    PictureInsertDialog dialog(this);
    if (runDialog(dialog) != QDialog::Accepted)
        return false;
    if (insertPictureFile(dialog.fileName(), dialog.embedded(), dialog.pictureWidth(), dialog.pictureHeight()))
        return true;
    showMessage(this, QStringLiteral("그림 파일을 열 수 없습니다.\n%1").arg(dialog.fileName()));
    return false;
}

bool EditorControl::insertPictureFile(const QString& path, bool embedded, int width, int height)
{
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return false;
    QByteArray data = file.readAll();
    QBuffer buffer(&data);
    QImageReader reader(&buffer);
    const QImage image = reader.read();
    if (image.isNull())
        return false;
    QTextImageFormat format;
    if (width > 0)
        format.setWidth(width);
    if (height > 0)
        format.setHeight(height);
    format.setProperty(kPictureAlt, QFileInfo(path).completeBaseName());
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    // A book cannot link a file outside itself: such a picture is held by the document.
    if (!embedded && isInsideFolder(path, m_document->folder())) {
        const QString relative = QDir(m_document->folder()).relativeFilePath(QFileInfo(path).absoluteFilePath());
        format.setName(QString::fromUtf8(QUrl::toPercentEncoding(relative, "/")));
        if (width <= 0 && height <= 0) {
            format.setWidth(image.width());
            format.setHeight(image.height());
        }
        cursor.insertImage(format);
    } else {
        insertEmbeddedPicture(data, QFileInfo(path).fileName(), image, format);
    }
    syncPictures();
    cursor.endEditBlock();
    return true;
}

bool EditorControl::createTableDialog()
{
    TableCreateDialog dialog(this);
    if (runDialog(dialog) != QDialog::Accepted)
        return false;
    return insertTable(dialog.rows(), dialog.columns());
}

bool EditorControl::insertTable(int rows, int columns)
{
    if (rows < 1 || columns < 1)
        return false;
    QTextTableFormat format;
    format.setBorder(1);
    format.setCellPadding(2);
    format.setCellSpacing(0);
    format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    QTextCursor cursor = textCursor();
    QTextTable* table = cursor.insertTable(rows, columns, format);
    setTextCursor(table->cellAt(0, 0).firstCursorPosition()); // typing goes into the first cell
    return true;
}

QString EditorControl::equationAtCaret()
{
    QTextCursor cursor = textCursor();
    const int caret = cursor.selectionStart();
    for (const int position : {caret, caret - 1}) {
        if (position < 0 || position + 1 >= m_document->characterCount())
            continue;
        QTextCursor probe(m_document);
        probe.setPosition(position);
        probe.setPosition(position + 1, QTextCursor::KeepAnchor);
        const QTextCharFormat format = probe.charFormat();
        if (probe.selectedText() == QString(QChar::ObjectReplacementCharacter)
            && format.hasProperty(kEquationSource)) {
            setTextCursor(probe);
            return format.stringProperty(kEquationSource);
        }
    }
    return QString();
}

bool EditorControl::createEquationDialog()
{
    EquationDialog dialog(this, equationAtCaret());
    if (runDialog(dialog) != QDialog::Accepted)
        return false;
    if (insertEquation(dialog.source()))
        return true;
    showMessage(this, QStringLiteral("수식을 그리지 못했습니다."));
    return false;
}

bool EditorControl::insertEquation(const QString& source)
{
    const QImage image = renderEquation(source);
    QByteArray png;
    QBuffer buffer(&png);
    if (image.isNull() || !buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG"))
        return false;
    QTextImageFormat format;
    format.setProperty(kEquationSource, source);
    format.setProperty(kPictureAlt, source);
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    insertEmbeddedPicture(png, QStringLiteral("equation%1.png").arg(m_pictures.size() + 1), image, format);
    syncPictures();
    cursor.endEditBlock();
    return true;
}

// ---------------------------------------------------------------- styles

bool EditorControl::styleDialog()
{
    StyleDialog dialog(this, m_styles, currentStyleIndex());
    if (runDialog(dialog) != QDialog::Accepted)
        return false;
    return applyStyle(dialog.chosen());
}

// ---------------------------------------------------------------- spelling and dictionary

bool EditorControl::spellingCheck()
{
    SpellDictionaries& dictionaries = SpellDictionaries::shared();
    if (!dictionariesReady(this, dictionaries, toPlainText()))
        return false;
    SpellingDialog dialog(*this, dictionaries);
    if (!dialog.start()) {
        showMessage(this, QStringLiteral("사전에 없는 낱말이 없습니다."));
        return true;
    }
    runDialog(dialog);
    return true;
}

bool EditorControl::dictionaryLookUp()
{
    QTextCursor cursor = textCursor();
    if (!cursor.hasSelection())
        cursor.select(QTextCursor::WordUnderCursor);
    const QString word = cursor.selectedText().trimmed();
    if (word.isEmpty() || !word.front().isLetter()) {
        showMessage(this, QStringLiteral("사전에서 찾을 낱말이 없습니다. 커서를 낱말 위에 두십시오."));
        return false;
    }
    SpellDictionaries& dictionaries = SpellDictionaries::shared();
    if (!dictionaries.missingFor(word).isEmpty()) {
        showMessage(this, kNoDictionary);
        return false;
    }
    DictionaryDialog dialog(this, word, dictionaries);
    runDialog(dialog);
    return true;
}

// ---------------------------------------------------------------- printing

bool EditorControl::printTo(QPrinter& printer)
{
    std::unique_ptr<QTextDocument> copy(m_document->clone());
    copy->documentLayout()->registerHandler(kIslandObject, m_islands);
    QFont font = copy->defaultFont();
    font.setPointSizeF(12.0);
    copy->setDefaultFont(font);
    // Pictures at their size on the page, not the view's zoom; linked ones are read here,
    // as the copy knows no folder.
    for (const PictureSpot& spot : pictureSpots()) {
        QTextImageFormat format = spot.format;
        copy->addResource(QTextDocument::ImageResource, QUrl(format.name()),
                          m_document->resource(QTextDocument::ImageResource, QUrl(format.name())));
        if (format.hasProperty(kPictureDrawnWidth))
            format.setWidth(format.doubleProperty(kPictureDrawnWidth));
        if (format.hasProperty(kPictureDrawnHeight))
            format.setHeight(format.doubleProperty(kPictureDrawnHeight));
        QTextCursor cursor(copy.get());
        cursor.setPosition(spot.position);
        cursor.setPosition(spot.position + 1, QTextCursor::KeepAnchor);
        cursor.setCharFormat(format);
    }
    return printDocument(*copy, printer);
}

bool EditorControl::printDialog()
{
    QPrinter printer(QPrinter::HighResolution);
    applyPageSetup(printer, m_page);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("인쇄"));
    if (runDialog(dialog) != QDialog::Accepted)
        return false;
    if (!printer.isValid() || !printTo(printer)) {
        showMessage(this, QStringLiteral("인쇄하지 못했습니다. 프린터를 확인하십시오.\n%1").arg(printer.printerName()));
        return false;
    }
    return true;
}

bool EditorControl::printPreview()
{
    QPrinter printer(QPrinter::HighResolution);
    applyPageSetup(printer, m_page);
    QPrintPreviewDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("미리보기"));
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* target) { printTo(*target); });
    runDialog(dialog);
    return true;
}

} // namespace tdx
