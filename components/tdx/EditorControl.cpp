#include "components/tdx/EditorControl.h"

#include "components/tdx/BookmarkAction.h"
#include "components/tdx/FileChooser.h"
#include "components/tdx/GifEncoder.h"
#include "components/tdx/IslandObject.h"
#include "components/tdx/Options.h"
#include "components/tdx/PageSetupAction.h"
#include "components/tdx/ParagraphShapeAction.h"
#include "components/tdx/ShapeObject.h"
#include "components/tdx/StyleAction.h"
#include "components/tdx/StyleTemplateAction.h"
#include "components/tdx/TextDocument.h"
#include "components/tdx/TextProperties.h"
#include "components/tdx/XhtmlReader.h"
#include "components/tdx/XhtmlWriter.h"
#include "platform/core/CompoundFile.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QMimeData>
#include <QPainter>
#include <QRegularExpression>
#include <QSet>
#include <QSaveFile>
#include <QScrollBar>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextDocumentFragment>
#include <QTextLayout>
#include <QTextList>
#include <QUrl>

namespace tdx {

namespace {

constexpr int kMaxZoom = 500;
constexpr int kMinZoom = 10;
constexpr int kMarginStep = 2000; // 1/7200 inch, for the left-margin actions

// A chapter file: the whole file, decoded as UTF-8 unless its declaration or a BOM says otherwise.
QString decodeChapter(const QByteArray& bytes, bool forceUtf8)
{
    if (!forceUtf8) {
        QStringDecoder decoder = QStringDecoder::decoderForHtml(bytes);
        if (decoder.isValid())
            return decoder.decode(bytes);
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    return utf8.decode(bytes);
}

// A folder name for pictures: relative, inside the chapter's folder, no ".." steps.
QString safePictureFolder(const QString& requested)
{
    const QString cleaned = QDir::cleanPath(requested.trimmed());
    if (cleaned.isEmpty() || cleaned == "." || QDir::isAbsolutePath(cleaned) || cleaned.startsWith("..")
        || cleaned.contains("/../"))
        return QStringLiteral("images");
    return cleaned;
}

// A file name that may be written into the picture folder.
QString safeFileName(const QString& name, const QString& fallback)
{
    QString base = QFileInfo(name).fileName();
    base.replace(QRegularExpression(QStringLiteral(R"([^\w.\-])")), QStringLiteral("_"));
    if (base.isEmpty() || base.startsWith('.') || !base[0].isLetter())
        base = fallback + (base.startsWith('.') ? base : (base.isEmpty() ? QString() : "_" + base));
    if (!base.contains('.'))
        base += QStringLiteral(".png");
    return base;
}

QString styleNameOf(const Style& style) { return style.nameLocal; }

} // namespace

EditorControl::EditorControl(QWidget* parent)
    : QTextEdit(parent), m_islands(new IslandObject(m_markup, this)),
      m_endObject(std::make_shared<ShapeObject>(this, 0))
{
    setFrameShape(QFrame::Box);
    setAcceptRichText(true);
    setLineWrapMode(QTextEdit::FixedPixelWidth);
    resetDocument();
    showDocument();
    applyViewGeometry();
}

EditorControl::~EditorControl() = default;

std::unique_ptr<Control> createControl(QWidget* parent)
{
    return std::make_unique<EditorControl>(parent);
}

// ---------------------------------------------------------------- documents

// A new document, shown once it is complete: the view lays out at once whatever is put
// into a document it shows, but a document it shows whole it lays out a screen at a time.
void EditorControl::resetDocument()
{
    m_document = new TextDocument(this);
    QFont font = document()->defaultFont();
    font.setPointSizeF(12.0 * m_zoom / 100.0);
    m_document->setDefaultFont(font);
    m_head = ChapterHead();
    m_markup.clear();
    m_pictures.clear();
    m_pictureByResource.clear();
    m_objects.clear();
    m_styles.reset();
    m_takesControlStyles = false;
    m_path.clear();
    m_document->setModified(false);
}

void EditorControl::showDocument()
{
    QTextDocument* shown = document();
    if (shown == m_document)
        return;
    // The widget's own first document goes with setDocument; ours are deleted here.
    const bool ours = shown->parent() == this;
    setDocument(m_document);
    m_document->documentLayout()->registerHandler(kIslandObject, m_islands);
    if (ours)
        delete shown;
}

void EditorControl::clear(int)
{
    resetDocument();
    showDocument();
}

bool EditorControl::open(const QString& path, const QString& format, const QString& optionText)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.peek(8);
    const Options options(optionText);
    const QString kind = format.trimmed().toUpper();
    if (kind == "TDX" || (kind.isEmpty() && platform::CompoundFile::isCompound(head)))
        return openDocumentFile(path, options);
    if (!kind.isEmpty() && kind != "HTML" && kind != "XHTML")
        return false;
    return openChapter(path, file.readAll(), options);
}

bool EditorControl::openChapter(const QString& path, const QByteArray& bytes, const Options& options)
{
    const bool forceUtf8 = options.value("code").compare("utf8", Qt::CaseInsensitive) == 0;
    const QString text = decodeChapter(bytes, forceUtf8);
    const bool takeControlStyles = options.flag("tdxstyle", false);
    resetDocument();
    m_path = path;
    m_linkPictures = options.flag("imagelink", true);
    m_document->setFolder(QFileInfo(path).absolutePath());
    readChapterText(text);
    if (m_head.title.isEmpty())
        m_head.title = QFileInfo(path).completeBaseName();
    finishLoading(takeControlStyles);
    return true;
}

// Well-formed chapters are read with their markup; others through Qt's HTML import.
void EditorControl::readChapterText(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    XhtmlReader reader(*m_document, m_markup);
    if (reader.read(utf8, m_head))
        return;
    m_head.read(utf8);
    m_document->setHtml(m_head.prepareBody(text));
}

void EditorControl::finishLoading(bool takeControlStyles)
{
    m_takesControlStyles = takeControlStyles;
    // One edit block: the layout follows once, not after every paragraph.
    QTextCursor batch(m_document);
    batch.beginEditBlock();
    if (takeControlStyles)
        applyStyleBase();
    syncPictures();
    batch.endEditBlock();
    showDocument();
    applyViewGeometry();
    m_document->clearUndoRedoStacks();
    m_document->setModified(false);
    moveCursor(QTextCursor::Start);
}

// The control's styles under the chapter's own inline formats: a paragraph keeps the
// alignment and line spacing it states itself.
void EditorControl::applyStyleBase()
{
    for (QTextBlock block = m_document->begin(); block.isValid(); block = block.next()) {
        const QTextBlockFormat own = block.blockFormat();
        const int index = styleIndexOf(own);
        if (index < 0 || index >= m_styles.size())
            continue;
        const Style& style = m_styles.at(index);
        QTextBlockFormat format;
        if (!own.hasProperty(QTextFormat::BlockAlignment) && !style.align.isEmpty() && !block.textList()) {
            if (style.align == "left")
                format.setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
            else if (style.align == "right")
                format.setAlignment(Qt::AlignRight | Qt::AlignAbsolute);
            else if (style.align == "center")
                format.setAlignment(Qt::AlignHCenter);
            else
                format.setAlignment(Qt::AlignJustify);
        }
        if (own.lineHeightType() == QTextBlockFormat::SingleHeight && style.lineSpacing > 0)
            format.setLineHeight(style.lineSpacing, QTextBlockFormat::ProportionalHeight);
        QTextCursor(block).mergeBlockFormat(format);
    }
}

bool EditorControl::openDocumentFile(const QString& path, const Options& options)
{
    QMap<QString, QByteArray> streams;
    if (!platform::CompoundFile::read(path, streams) || !streams.contains("Contents"))
        return false;
    if (!streams.value("FileHeader").startsWith("TDX Document") && !options.flag("forceopen", false))
        return false;
    const QString text = QString::fromUtf8(streams.value("Contents"));

    resetDocument();
    // A template opens as a new, untitled document unless asked to keep its path.
    m_path = options.flag("template", false) ? QString() : path;
    m_linkPictures = true;
    m_document->setFolder(QFileInfo(path).absolutePath());
    m_document->setAbsolutePathsAllowed(true);

    QList<Style> styles;
    if (StyleList::parse(streams.value("Styles"), styles))
        for (const Style& style : styles)
            m_styles.replace(m_styles.indexOf(style.nameEng), style);
    PageGeometry page;
    const auto fields = page.fields();
    for (const QByteArray& line : streams.value("PageDef").split('\n')) {
        const int eq = line.indexOf('=');
        const int index = PageGeometry::itemNames().indexOf(QString::fromLatin1(line.left(eq)));
        if (eq > 0 && index >= 0)
            *fields[index] = line.mid(eq + 1).toInt();
    }
    if (page.isUsable())
        m_page = page;
    for (auto it = streams.cbegin(); it != streams.cend(); ++it) {
        if (!it.key().startsWith("BinData/"))
            continue;
        const int index = addEmbeddedPicture(it.value(), it.key().mid(8));
        m_pictures[index].resource = it.key();
        m_pictureByResource.insert(it.key(), index);
        m_document->addResource(QTextDocument::ImageResource, QUrl(it.key()), QImage::fromData(it.value()));
    }
    readChapterText(text);
    finishLoading(false);
    return true;
}

bool EditorControl::saveAs(const QString& path, const QString& format, const QString& optionText)
{
    const QString kind = format.trimmed().toUpper();
    if (path.isEmpty() || !QFileInfo(QFileInfo(path).absolutePath()).isDir())
        return false;
    if (kind == "TDX")
        return saveDocumentFile(path);
    if (kind != "XHTML" && kind != "HTML")
        return false;
    return saveChapter(path, Options(optionText));
}

bool EditorControl::saveChapter(const QString& path, const Options& options)
{
    const QString folder = QFileInfo(path).absolutePath();
    const QString pictureFolder = safePictureFolder(options.value("imagePath", "images"));
    QHash<int, QString> written; // picture index -> src, so a picture used twice is written once
    bool picturesOk = true;
    auto source = [&](const QTextImageFormat& image) -> QString {
        const int index = pictureIndexOf(image);
        if (index < 0)
            return image.name();
        if (written.contains(index))
            return written.value(index);
        const Picture& picture = m_pictures.at(index);
        QString src;
        if (!picture.embedded) {
            // The chapter's own src while it still names the same file from here.
            const QString relative = QDir(folder).relativeFilePath(picture.fullPath);
            const QString named = QUrl::fromPercentEncoding(QUrl(picture.resource).path().toUtf8());
            src = picture.fullPath.isEmpty() || QDir::cleanPath(named) == QDir::cleanPath(relative) ? picture.resource
                                                                                                   : relative;
        } else {
            QDir dir(folder);
            if (!dir.mkpath(pictureFolder)) {
                picturesOk = false;
                return QString();
            }
            // Never overwrite a different picture that happens to have the same name.
            const QString base = safeFileName(picture.fileName, QStringLiteral("picture%1").arg(index + 1));
            QString name = base;
            for (int n = 2;; ++n) {
                QFile existing(dir.filePath(pictureFolder + '/' + name));
                if (!existing.exists())
                    break;
                if (existing.open(QIODevice::ReadOnly) && existing.readAll() == picture.data)
                    break;
                name = QFileInfo(base).completeBaseName() + QStringLiteral("_%1.").arg(n) + QFileInfo(base).suffix();
            }
            QSaveFile out(dir.filePath(pictureFolder + '/' + name));
            if (!out.open(QIODevice::WriteOnly) || out.write(picture.data) != picture.data.size() || !out.commit()) {
                picturesOk = false;
                return QString();
            }
            src = pictureFolder + '/' + name;
        }
        written.insert(index, src);
        return src;
    };
    XhtmlWriter writer(*m_document, m_head, m_markup, source);
    const QByteArray xhtml = writer.write();
    if (!picturesOk)
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(xhtml) != xhtml.size() || !file.commit())
        return false;
    m_document->setModified(false);
    return true;
}

bool EditorControl::saveDocumentFile(const QString& path)
{
    QMap<QString, QByteArray> streams;
    QHash<int, QString> names;
    auto source = [&](const QTextImageFormat& image) -> QString {
        const int index = pictureIndexOf(image);
        if (index < 0)
            return image.name();
        const Picture& picture = m_pictures.at(index);
        if (!picture.embedded)
            return QUrl::fromLocalFile(picture.fullPath).toString();
        if (!names.contains(index)) {
            // The picture keeps its name where a stream name can hold it (31 characters).
            QString name = "BinData/" + safeFileName(picture.fileName, QStringLiteral("picture%1").arg(index + 1));
            if (name.size() - 8 > 31 || streams.contains(name)) {
                const QString suffix = QFileInfo(picture.fileName).suffix().left(4);
                name = QStringLiteral("BinData/BIN%1.%2").arg(names.size() + 1, 4, 10, QChar('0'))
                           .arg(suffix.isEmpty() ? QStringLiteral("png") : suffix);
            }
            names.insert(index, name);
            streams.insert(name, picture.data);
        }
        return names.value(index);
    };
    XhtmlWriter writer(*m_document, m_head, m_markup, source);
    streams.insert("Contents", writer.write());
    streams.insert("FileHeader", "TDX Document 1.0\n");
    streams.insert("Styles", m_styles.serialize());
    QByteArray pageDef;
    PageGeometry page = m_page;
    const auto fields = page.fields();
    for (int i = 0; i < 8; ++i)
        pageDef += PageGeometry::itemNames()[i].toLatin1() + '=' + QByteArray::number(*fields[i]) + '\n';
    streams.insert("PageDef", pageDef);
    streams.insert("PrvImage", previewGif());
    return platform::CompoundFile::write(path, streams);
}

// The first page at a quarter of its screen size.
QByteArray EditorControl::previewGif()
{
    const double scale = 0.25;
    const QSizeF paper(unitsToPixels(m_page.paperWidth), unitsToPixels(m_page.paperHeight));
    QImage image((paper * scale).toSize(), QImage::Format_RGB32);
    image.fill(Qt::white);
    std::unique_ptr<QTextDocument> copy(m_document->clone());
    copy->setTextWidth(unitsToPixels(m_page.textWidth()));
    QPainter painter(&image);
    painter.scale(scale, scale);
    painter.translate(unitsToPixels(m_page.leftMargin), unitsToPixels(m_page.topMargin));
    copy->drawContents(&painter, QRectF(0, 0, unitsToPixels(m_page.textWidth()), unitsToPixels(m_page.textHeight())));
    painter.end();
    return encodeGif(image);
}

bool EditorControl::isModified(int)
{
    return m_document->isModified();
}

// ---------------------------------------------------------------- pictures

QList<EditorControl::PictureSpot> EditorControl::pictureSpots() const
{
    QList<PictureSpot> spots;
    for (QTextBlock block = m_document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat())
                continue;
            for (int i = 0; i < fragment.length(); ++i)
                spots.append({fragment.position() + i, fragment.charFormat().toImageFormat()});
        }
    }
    return spots;
}

// Gives every picture an identity, an entry in the picture table and its size items.
void EditorControl::syncPictures()
{
    QSet<quint64> seen;
    for (PictureSpot& spot : pictureSpots()) {
        QTextImageFormat& format = spot.format;
        quint64 id = format.property(kPictureId).toULongLong();
        const bool fresh = id == 0 || seen.contains(id);
        if (!fresh) {
            seen.insert(id);
            continue;
        }
        id = m_nextPictureId++;
        seen.insert(id);
        format.setProperty(kPictureId, id);
        if (!format.hasProperty(kPictureAlt))
            format.setProperty(kPictureAlt, m_head.altTexts.value(format.name()));
        const int index = registerPicture(format.name());
        if (!format.hasProperty(kPictureWidthRelTo)) {
            QSize natural;
            if (index >= 0) {
                const Picture& picture = m_pictures.at(index);
                if (picture.embedded) {
                    QBuffer buffer(const_cast<QByteArray*>(&picture.data));
                    natural = QImageReader(&buffer).size();
                } else {
                    natural = QImageReader(picture.fullPath).size();
                }
            }
            double width = format.width() > 0 ? format.width() : natural.width();
            double height = format.height() > 0 ? format.height() : natural.height();
            if (format.width() > 0 && format.height() <= 0 && natural.width() > 0)
                height = width * natural.height() / natural.width();
            if (format.height() > 0 && format.width() <= 0 && natural.height() > 0)
                width = height * natural.width() / natural.height();
            format.setProperty(kPictureNaturalWidth, double(natural.width()));
            format.setProperty(kPictureNaturalHeight, double(natural.height()));
            format.setProperty(kPictureWidth, pixelsToUnits(qMax(0.0, width)));
            format.setProperty(kPictureHeight, pixelsToUnits(qMax(0.0, height)));
            format.setProperty(kPictureWidthRelTo, 4);
            format.setProperty(kPictureHeightRelTo, 2);
        }
        layoutPicture(format);
        QTextCursor cursor(m_document);
        cursor.setPosition(spot.position);
        cursor.setPosition(spot.position + 1, QTextCursor::KeepAnchor);
        cursor.setCharFormat(format);
    }
}

int EditorControl::registerPicture(const QString& resource)
{
    if (m_pictureByResource.contains(resource))
        return m_pictureByResource.value(resource);
    Picture picture;
    picture.resource = resource;
    picture.fullPath = m_document->localPath(resource);
    picture.fileName = QFileInfo(picture.fullPath.isEmpty() ? resource : picture.fullPath).fileName();
    if (!m_linkPictures && !picture.fullPath.isEmpty()) {
        QFile file(picture.fullPath);
        // Only pictures are taken in: whatever else a path names stays out of the book.
        if (file.open(QIODevice::ReadOnly) && !QImageReader(&file).format().isEmpty()) {
            file.seek(0);
            picture.data = file.readAll();
            picture.embedded = true;
        }
    }
    m_pictures.append(picture);
    const int index = int(m_pictures.size()) - 1;
    m_pictureByResource.insert(resource, index);
    return index;
}

int EditorControl::addEmbeddedPicture(const QByteArray& data, const QString& fileName)
{
    Picture picture;
    picture.data = data;
    picture.fileName = fileName;
    picture.embedded = true;
    m_pictures.append(picture);
    const int index = int(m_pictures.size()) - 1;
    m_pictures[index].resource = QStringLiteral("tdxbin:%1").arg(index + 1);
    m_pictureByResource.insert(m_pictures[index].resource, index);
    return index;
}

int EditorControl::pictureIndexOf(const QTextImageFormat& format) const
{
    return m_pictureByResource.value(format.name(), -1);
}

// The drawn size follows the size items: hundredths of a percent of the paper, the text
// area, the column or the paragraph, or an absolute length.
void EditorControl::layoutPicture(QTextImageFormat& format) const
{
    const int width = format.intProperty(kPictureWidth);
    const int height = format.intProperty(kPictureHeight);
    double widthBase = 0;
    switch (format.intProperty(kPictureWidthRelTo)) {
    case 0: widthBase = m_page.paperWidth; break;
    case 1:
    case 2:
    case 3: widthBase = m_page.textWidth(); break;
    default: break;
    }
    double heightBase = 0;
    switch (format.intProperty(kPictureHeightRelTo)) {
    case 0: heightBase = m_page.paperHeight; break;
    case 1: heightBase = m_page.textHeight(); break;
    default: break;
    }
    const double w = widthBase > 0 ? widthBase * width / 10000.0 : width;
    const double h = heightBase > 0 ? heightBase * height / 10000.0 : height;
    const double zoom = m_zoom / 100.0;
    if (w > 0) {
        format.setProperty(kPictureDrawnWidth, unitsToPixels(w));
        format.setWidth(unitsToPixels(w) * zoom);
    }
    if (h > 0) {
        format.setProperty(kPictureDrawnHeight, unitsToPixels(h));
        format.setHeight(unitsToPixels(h) * zoom);
    }
}

void EditorControl::keepingModified(const std::function<void()>& change)
{
    const bool modified = m_document->isModified();
    change();
    m_document->setModified(modified);
}

void EditorControl::relayoutPictures()
{
    for (PictureSpot& spot : pictureSpots()) {
        if (!spot.format.hasProperty(kPictureWidthRelTo))
            continue;
        const double oldWidth = spot.format.width();
        const double oldHeight = spot.format.height();
        layoutPicture(spot.format);
        if (spot.format.width() == oldWidth && spot.format.height() == oldHeight)
            continue;
        QTextCursor cursor(m_document);
        cursor.setPosition(spot.position);
        cursor.setPosition(spot.position + 1, QTextCursor::KeepAnchor);
        cursor.setCharFormat(spot.format);
    }
}

bool EditorControl::setPictureFormat(quint64 pictureId, const std::function<void(QTextImageFormat&)>& change)
{
    for (PictureSpot& spot : pictureSpots()) {
        if (spot.format.property(kPictureId).toULongLong() != pictureId)
            continue;
        change(spot.format);
        layoutPicture(spot.format);
        QTextCursor cursor(m_document);
        cursor.setPosition(spot.position);
        cursor.setPosition(spot.position + 1, QTextCursor::KeepAnchor);
        cursor.setCharFormat(spot.format);
        return true;
    }
    return false;
}

DrawingObjectPtr EditorControl::objectFor(quint64 pictureId)
{
    if (auto existing = m_objects.value(pictureId).lock())
        return existing;
    auto object = std::make_shared<ShapeObject>(this, pictureId);
    m_objects.insert(pictureId, object);
    return object;
}

DrawingObjectPtr EditorControl::firstObject()
{
    const QList<PictureSpot> spots = pictureSpots();
    for (const PictureSpot& spot : spots)
        if (const quint64 id = spot.format.property(kPictureId).toULongLong())
            return objectFor(id);
    return m_endObject;
}

DrawingObjectPtr EditorControl::lastObject()
{
    return m_endObject;
}

DrawingObjectPtr EditorControl::objectAfter(quint64 pictureId)
{
    const QList<PictureSpot> spots = pictureSpots();
    bool found = false;
    for (const PictureSpot& spot : spots) {
        const quint64 id = spot.format.property(kPictureId).toULongLong();
        if (found && id)
            return objectFor(id);
        found = found || id == pictureId;
    }
    return found ? m_endObject : nullptr;
}

ParameterSetPtr EditorControl::pictureProperties(quint64 pictureId)
{
    for (const PictureSpot& spot : pictureSpots()) {
        const QTextImageFormat& format = spot.format;
        if (format.property(kPictureId).toULongLong() != pictureId)
            continue;
        auto set = std::make_shared<ParameterSet>("ShapeObject");
        set->setItem("Width", format.intProperty(kPictureWidth));
        set->setItem("Height", format.intProperty(kPictureHeight));
        set->setItem("WidthRelTo", format.intProperty(kPictureWidthRelTo));
        set->setItem("HeightRelTo", format.intProperty(kPictureHeightRelTo));
        const auto attributes = set->createItemSet("ShapeDrawImageAttr", "ShapeDrawImageAttr");
        const int index = pictureIndexOf(format);
        attributes->setItem("Embedded", index >= 0 && m_pictures.at(index).embedded ? 1 : 0);
        attributes->setItem("FileName", index + 1);
        return set;
    }
    return nullptr;
}

bool EditorControl::setPictureProperties(quint64 pictureId, const ParameterSet& set)
{
    const ParameterSetPtr current = pictureProperties(pictureId);
    if (!current)
        return false;
    const int width = set.intItem("Width", current->intItem("Width"));
    const int height = set.intItem("Height", current->intItem("Height"));
    const int widthRelTo = set.intItem("WidthRelTo", current->intItem("WidthRelTo"));
    const int heightRelTo = set.intItem("HeightRelTo", current->intItem("HeightRelTo"));
    if (width < 0 || height < 0 || widthRelTo < 0 || widthRelTo > 4 || heightRelTo < 0 || heightRelTo > 2)
        return false;
    return setPictureFormat(pictureId, [&](QTextImageFormat& format) {
        format.setProperty(kPictureWidth, width);
        format.setProperty(kPictureHeight, height);
        format.setProperty(kPictureWidthRelTo, widthRelTo);
        format.setProperty(kPictureHeightRelTo, heightRelTo);
    });
}

QString EditorControl::picturePath(int fileName)
{
    const int index = fileName - 1;
    if (index < 0 || index >= m_pictures.size())
        return QString();
    return m_pictures.at(index).fullPath;
}

bool EditorControl::canInsertFromMimeData(const QMimeData* source) const
{
    return source->hasImage() || QTextEdit::canInsertFromMimeData(source);
}

// Pasted pictures become embedded pictures of the document; they are written out as
// files when the chapter is saved.
void EditorControl::insertFromMimeData(const QMimeData* source)
{
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    if (source->hasImage()) {
        const QImage image = qvariant_cast<QImage>(source->imageData());
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!image.isNull() && image.save(&buffer, "PNG"))
            insertEmbeddedPicture(png, QString(), image, QTextImageFormat());
    } else {
        QTextEdit::insertFromMimeData(source);
    }
    syncPictures();
    cursor.endEditBlock();
}

// A picture the document holds, at the caret and in the caret's edit block, drawn at the
// image's size unless `extra` gives one.
void EditorControl::insertEmbeddedPicture(const QByteArray& data, const QString& fileName, const QImage& image,
                                          const QTextImageFormat& extra)
{
    const int index = addEmbeddedPicture(data, fileName);
    if (fileName.isEmpty())
        m_pictures[index].fileName = QStringLiteral("picture%1.png").arg(index + 1);
    m_document->addResource(QTextDocument::ImageResource, QUrl(m_pictures[index].resource), image);
    QTextImageFormat format = extra;
    format.setName(m_pictures[index].resource);
    if (format.width() <= 0 && format.height() <= 0) {
        format.setWidth(image.width());
        format.setHeight(image.height());
    }
    textCursor().insertImage(format);
}

// ---------------------------------------------------------------- view

void EditorControl::applyViewGeometry()
{
    setLineWrapColumnOrWidth(qRound(unitsToPixels(m_page.textWidth()) * m_zoom / 100.0));
    QFont font = m_document->defaultFont();
    font.setPointSizeF(12.0 * m_zoom / 100.0);
    m_document->setDefaultFont(font);
}

bool EditorControl::setPage(const PageGeometry& page)
{
    if (!page.isUsable())
        return false;
    m_page = page;
    applyViewGeometry();
    keepingModified([this] { relayoutPictures(); });
    return true;
}

ParameterSetPtr EditorControl::viewProperties()
{
    auto set = std::make_shared<ParameterSet>("ViewProperties");
    set->setItem("ZoomType", 0);
    set->setItem("ZoomRatio", m_zoom);
    return set;
}

void EditorControl::setViewProperties(const ParameterSet& set)
{
    if (set.intItem("ZoomType", 0) != 0)
        return; // only the plain ratio is supported; fit-to-width and the like keep the view
    m_zoom = qBound(kMinZoom, set.intItem("ZoomRatio", m_zoom), kMaxZoom);
    applyViewGeometry();
    keepingModified([this] { relayoutPictures(); });
}

ParameterSetPtr EditorControl::scrollState()
{
    auto set = std::make_shared<ParameterSet>("ScrollPosInfo");
    set->setItem("VertPos", verticalScrollBar()->value());
    set->setItem("VertLimitPos", verticalScrollBar()->maximum());
    return set;
}

// A position saved against another scroll range keeps its proportion.
void EditorControl::setScrollState(const ParameterSet& set)
{
    int position = set.intItem("VertPos", verticalScrollBar()->value());
    const int limit = set.intItem("VertLimitPos", 0);
    const int maximum = verticalScrollBar()->maximum();
    if (limit > 0 && maximum > 0 && limit != maximum)
        position = int(qint64(position) * maximum / limit);
    verticalScrollBar()->setValue(position);
}

bool EditorControl::status(Status& status)
{
    const QTextCursor cursor = textCursor();
    const QTextBlock block = cursor.block();
    const int inBlock = cursor.positionInBlock();
    int line = block.firstLineNumber();
    int position = inBlock + 1;
    if (QTextLayout* layout = block.layout(); layout && layout->lineCount() > 0) {
        const QTextLine textLine = layout->lineForTextPosition(inBlock);
        if (textLine.isValid()) {
            line += textLine.lineNumber();
            position = inBlock - textLine.textStart() + 1;
        }
    }
    const double pageHeight = unitsToPixels(m_page.textHeight()) * m_zoom / 100.0;
    const double y = m_document->documentLayout()->blockBoundingRect(block).top();
    status.sectionCount = 1;
    status.section = 1;
    status.page = pageHeight > 0 ? int(y / pageHeight) + 1 : 1;
    status.column = 1;
    status.line = line + 1;
    status.position = position;
    status.overwrite = overwriteMode() ? 1 : 0;
    const int index = currentStyleIndex();
    status.text = index >= 0 && index < m_styles.size() ? styleNameOf(m_styles.at(index)) : QString();
    return true;
}

bool EditorControl::registerModule(const QString& type, const QString& name)
{
    if (type.isEmpty() || name.isEmpty())
        return false;
    m_modules.append(type + '/' + name);
    return true;
}

// ---------------------------------------------------------------- actions

ActionPtr EditorControl::createAction(const QString& name)
{
    if (name == "PageSetup")
        return std::make_shared<PageSetupAction>(this);
    if (name == "ParagraphShape")
        return std::make_shared<ParagraphShapeAction>(this);
    if (name == "Bookmark")
        return std::make_shared<BookmarkAction>(this);
    if (name == "Style")
        return std::make_shared<StyleAction>(this);
    if (name == "StyleTemplate")
        return std::make_shared<StyleTemplateAction>(this);
    return nullptr;
}

int EditorControl::currentIndentation() const
{
    const QTextBlockFormat format = textCursor().blockFormat();
    if (format.hasProperty(kIndentation))
        return format.intProperty(kIndentation);
    return pixelsToUnits(format.textIndent());
}

// A hanging first line needs room on the left: the margin grows by the hang.
void EditorControl::setIndentation(int units)
{
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    const QTextBlock first = m_document->findBlock(cursor.selectionStart());
    const QTextBlock last = m_document->findBlock(cursor.selectionEnd());
    for (QTextBlock block = first; block.isValid(); block = block.next()) {
        QTextBlockFormat format = block.blockFormat();
        const int old = format.hasProperty(kIndentation) ? format.intProperty(kIndentation)
                                                         : pixelsToUnits(format.textIndent());
        const int oldHang = qMax(0, -old);
        const int newHang = qMax(0, -units);
        format.setLeftMargin(qMax(0.0, format.leftMargin() + unitsToPixels(newHang - oldHang)));
        format.setTextIndent(unitsToPixels(units));
        format.setProperty(kIndentation, units);
        QTextCursor(block).setBlockFormat(format);
        if (block == last)
            break;
    }
    cursor.endEditBlock();
}

int EditorControl::currentStyleIndex() const
{
    return styleIndexOf(textCursor().blockFormat());
}

// A paragraph that was never given a style has the one its heading level implies.
int EditorControl::styleIndexOf(const QTextBlockFormat& format)
{
    if (format.hasProperty(kStyleIndex))
        return format.intProperty(kStyleIndex);
    const int level = format.headingLevel();
    return level >= 1 && level <= 7 ? 1 + level : 0;
}

bool EditorControl::applyStyle(int index)
{
    if (index < 0 || index >= m_styles.size())
        return false;
    QTextCursor cursor = textCursor();
    m_styles.at(index).applyTo(cursor, index);
    return true;
}

bool EditorControl::exportStyles(const ParameterSet& set)
{
    const QString path = set.item("FileName").toString();
    if (path.isEmpty())
        return false;
    QList<Style> chosen;
    const auto engs = set.itemArray("NameEngs");
    const auto locals = set.itemArray("NameLocals");
    const int count = qMax(engs ? engs->count() : 0, locals ? locals->count() : 0);
    for (int i = 0; i < count; ++i) {
        int index = engs ? m_styles.indexOf(engs->item(i).toString()) : -1;
        if (index < 0 && locals)
            index = m_styles.indexOf(locals->item(i).toString());
        if (index >= 0)
            chosen.append(m_styles.at(index));
    }
    if (count == 0)
        for (int i = 0; i < m_styles.size(); ++i)
            chosen.append(m_styles.at(i));
    const QByteArray data = StyleList::serialize(chosen);
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size() && file.commit();
}

// Styles of the file replace those of the list that the set names; a missing or broken
// file changes nothing.
bool EditorControl::importStyles(const ParameterSet& set)
{
    QFile file(set.item("FileName").toString());
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QList<Style> styles;
    if (!StyleList::parse(file.read(4 * 1024 * 1024), styles))
        return false;
    QSet<QString> wanted;
    for (const char* arrayName : {"NameEngs", "NameLocals"})
        if (const auto array = set.itemArray(QString::fromLatin1(arrayName)))
            for (int i = 0; i < array->count(); ++i)
                wanted.insert(array->item(i).toString());
    for (const Style& style : styles) {
        if (!wanted.isEmpty() && !wanted.contains(style.nameEng) && !wanted.contains(style.nameLocal))
            continue;
        int index = m_styles.indexOf(style.nameEng);
        if (index < 0)
            index = m_styles.indexOf(style.nameLocal);
        m_styles.replace(index, style);
    }
    if (m_takesControlStyles)
        keepingModified([this] { applyStyleBase(); });
    return true;
}

// ---------------------------------------------------------------- bookmarks

// A bookmark is a zero-width character carrying the name, so it can sit anywhere,
// empty paragraphs included, and moves with the text around it.
bool EditorControl::insertBookmark(const QString& name)
{
    if (!isXmlName(name))
        return false;
    deleteBookmark(name); // a name marks one place
    QTextCursor cursor = textCursor();
    cursor.clearSelection();
    QTextCharFormat format = cursor.charFormat();
    format.setAnchor(true);
    format.setAnchorNames({name});
    format.setAnchorHref(QString());
    cursor.insertText(QString(QChar(kBookmarkCarrier)), format);
    return true;
}

bool EditorControl::moveToBookmark(const QString& name)
{
    if (name.isEmpty())
        return false;
    for (QTextBlock block = m_document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().anchorNames().contains(name)) {
                QTextCursor cursor(m_document);
                cursor.setPosition(it.fragment().position());
                setTextCursor(cursor);
                ensureCursorVisible();
                return true;
            }
        }
    }
    return moveToMarkupId(name);
}

// Links into a chapter also name the ids of its paragraphs, wrappers and inline elements.
bool EditorControl::moveToMarkupId(const QString& id)
{
    auto named = [&](int element) { return element && m_markup.elementAt(element).attribute(QLatin1String("id")) == id; };
    for (QTextBlock block = m_document->begin(); block.isValid(); block = block.next()) {
        int position = -1;
        if (const BlockMarkup* markup = m_markup.blockAt(block.blockFormat().intProperty(kBlockMarkup))) {
            bool found = named(markup->element);
            for (int wrapper : markup->wrappers)
                found = found || named(m_markup.wrapperElement(wrapper));
            if (found)
                position = block.position();
        }
        for (auto it = block.begin(); position < 0 && !it.atEnd(); ++it) {
            if (const InlineMarkup* markup = m_markup.inlineAt(it.fragment().charFormat().intProperty(kInlineMarkup)))
                for (int element : markup->elements)
                    if (named(element))
                        position = it.fragment().position();
        }
        if (position >= 0) {
            QTextCursor cursor(m_document);
            cursor.setPosition(position);
            setTextCursor(cursor);
            ensureCursorVisible();
            return true;
        }
    }
    return false;
}

bool EditorControl::deleteBookmark(const QString& name)
{
    if (name.isEmpty())
        return false;
    struct Found {
        int position;
        int length;
        QTextCharFormat format;
        bool carrierOnly;
    };
    QList<Found> found;
    for (QTextBlock block = m_document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            QTextCharFormat format = fragment.charFormat();
            QStringList names = format.anchorNames();
            if (!names.removeAll(name))
                continue;
            format.setAnchorNames(names);
            if (names.isEmpty() && format.anchorHref().isEmpty())
                format.setAnchor(false);
            const bool carrierOnly = names.isEmpty() && fragment.text() == QString(QChar(kBookmarkCarrier));
            found.append({fragment.position(), fragment.length(), format, carrierOnly});
        }
    }
    // From the end, so that removing a carrier does not move the places still to change.
    for (auto it = found.crbegin(); it != found.crend(); ++it) {
        QTextCursor cursor(m_document);
        cursor.setPosition(it->position);
        cursor.setPosition(it->position + it->length, QTextCursor::KeepAnchor);
        if (it->carrierOnly)
            cursor.removeSelectedText();
        else
            cursor.setCharFormat(it->format);
    }
    return !found.isEmpty();
}

QStringList EditorControl::bookmarks() const
{
    QStringList names;
    for (QTextBlock block = m_document->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            names += it.fragment().charFormat().anchorNames();
    return names;
}

// ---------------------------------------------------------------- run by name

bool EditorControl::run(const QString& actionName)
{
    return runByName(actionName);
}

void EditorControl::toggleCharFormat(const std::function<void(QTextCharFormat&, const QTextCharFormat&)>& change)
{
    QTextCursor cursor = textCursor();
    if (!cursor.hasSelection())
        cursor.select(QTextCursor::WordUnderCursor);
    QTextCharFormat format;
    change(format, cursor.charFormat());
    cursor.mergeCharFormat(format);
    mergeCurrentCharFormat(format);
}

void EditorControl::toggleList(QTextListFormat::Style style)
{
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    if (QTextList* list = cursor.currentList(); list && list->format().style() == style) {
        for (QTextBlock block = m_document->findBlock(cursor.selectionStart());
             block.isValid() && block.position() <= cursor.selectionEnd(); block = block.next())
            list->remove(block);
        QTextBlockFormat format = cursor.blockFormat();
        format.setIndent(0);
        cursor.setBlockFormat(format);
    } else {
        QTextListFormat format;
        format.setStyle(style);
        cursor.createList(format);
    }
    cursor.endEditBlock();
}

void EditorControl::changeLeftMargin(int units)
{
    QTextCursor cursor = textCursor();
    QTextBlockFormat format = cursor.blockFormat();
    const double margin = qMax(0.0, format.leftMargin() + unitsToPixels(units));
    QTextBlockFormat change;
    change.setLeftMargin(margin);
    cursor.mergeBlockFormat(change);
}

// The pictures of a pulled-in document become the document's own, as pasted ones do: the
// chapter's save writes them into its picture folder, so the chapter never links a file
// outside its book. Runs while the document's folder is the pulled-in file's.
void EditorControl::takeInPictures(int from, int to)
{
    QHash<QString, int> taken; // file -> picture, so a picture used twice is taken once
    for (const PictureSpot& spot : pictureSpots()) {
        if (spot.position < from || spot.position >= to)
            continue;
        QTextImageFormat format = spot.format;
        const int known = pictureIndexOf(format);
        if (known >= 0 && m_pictures.at(known).embedded)
            continue;
        const QString path = m_document->localPath(format.name());
        int index = taken.value(path, -1);
        if (index < 0) {
            QFile file(path);
            if (path.isEmpty() || !file.open(QIODevice::ReadOnly) || QImageReader(&file).format().isEmpty())
                continue;
            file.seek(0);
            index = addEmbeddedPicture(file.readAll(), QFileInfo(path).fileName());
            m_document->addResource(QTextDocument::ImageResource, QUrl(m_pictures.at(index).resource),
                                    QImage::fromData(m_pictures.at(index).data));
            taken.insert(path, index);
        }
        format.setName(m_pictures.at(index).resource);
        QTextCursor cursor(m_document);
        cursor.setPosition(spot.position);
        cursor.setPosition(spot.position + 1, QTextCursor::KeepAnchor);
        cursor.setCharFormat(format);
    }
}

bool EditorControl::insertFile()
{
    const QString path = chooseFile(this, tr("Insert file"),
                                    tr("Documents (*.html *.htm *.xhtml *.xml *.txt);;All files (*)"));
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    const QString suffix = QFileInfo(path).suffix().toLower();
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    if (suffix == "html" || suffix == "htm" || suffix == "xhtml" || suffix == "xml") {
        // Pictures of the inserted file are found relative to it.
        const QString folder = m_document->folder();
        m_document->setFolder(QFileInfo(path).absolutePath());
        const QString text = decodeChapter(bytes, false);
        const QString body = m_head.prepareBody(text);
        const int from = cursor.selectionStart();
        cursor.insertFragment(QTextDocumentFragment::fromHtml(body, m_document));
        takeInPictures(from, cursor.position());
        syncPictures();
        m_document->setFolder(folder);
    } else {
        cursor.insertText(decodeChapter(bytes, true), cursor.block().charFormat());
    }
    cursor.endEditBlock();
    return true;
}

bool EditorControl::runByName(const QString& name)
{
    using Setter = std::function<void(QTextCharFormat&, const QTextCharFormat&)>;
    static const QHash<QString, Setter> charActions{
        {"CharShapeBold", [](QTextCharFormat& f, const QTextCharFormat& c) {
             f.setFontWeight(c.fontWeight() >= QFont::DemiBold ? QFont::Normal : QFont::Bold); }},
        {"CharShapeItalic", [](QTextCharFormat& f, const QTextCharFormat& c) { f.setFontItalic(!c.fontItalic()); }},
        {"CharShapeUnderline", [](QTextCharFormat& f, const QTextCharFormat& c) { f.setFontUnderline(!c.fontUnderline()); }},
        {"CharShapeCenterline", [](QTextCharFormat& f, const QTextCharFormat& c) { f.setFontStrikeOut(!c.fontStrikeOut()); }},
        {"CharShapeSuperscript", [](QTextCharFormat& f, const QTextCharFormat& c) {
             f.setVerticalAlignment(c.verticalAlignment() == QTextCharFormat::AlignSuperScript
                                        ? QTextCharFormat::AlignNormal : QTextCharFormat::AlignSuperScript); }},
        {"CharShapeSubscript", [](QTextCharFormat& f, const QTextCharFormat& c) {
             f.setVerticalAlignment(c.verticalAlignment() == QTextCharFormat::AlignSubScript
                                        ? QTextCharFormat::AlignNormal : QTextCharFormat::AlignSubScript); }},
        {"CharShapeHeightIncrease", [](QTextCharFormat& f, const QTextCharFormat& c) {
             f.setFontPointSize(qMin(400.0, (c.fontPointSize() > 0 ? c.fontPointSize() : 12.0) + 1)); }},
        {"CharShapeHeightDecrease", [](QTextCharFormat& f, const QTextCharFormat& c) {
             f.setFontPointSize(qMax(1.0, (c.fontPointSize() > 0 ? c.fontPointSize() : 12.0) - 1)); }},
    };
    static const QHash<QString, Qt::Alignment> alignments{
        {"ParagraphShapeAlignJustify", Qt::AlignJustify},
        {"ParagraphShapeAlignLeft", Qt::AlignLeft | Qt::AlignAbsolute},
        {"ParagraphShapeAlignRight", Qt::AlignRight | Qt::AlignAbsolute},
        {"ParagraphShapeAlignCenter", Qt::AlignHCenter},
    };
    if (const auto it = charActions.find(name); it != charActions.end()) {
        toggleCharFormat(it.value());
        return true;
    }
    if (const auto it = alignments.find(name); it != alignments.end()) {
        setAlignment(it.value());
        return true;
    }
    if (name == "ParagraphShapeIncreaseLeftMargin")
        changeLeftMargin(kMarginStep);
    else if (name == "ParagraphShapeDecreaseLeftMargin")
        changeLeftMargin(-kMarginStep);
    else if (name == "PutParaNumber")
        toggleList(QTextListFormat::ListDecimal);
    else if (name == "PutBullet")
        toggleList(QTextListFormat::ListDisc);
    else if (name == "Undo")
        undo();
    else if (name == "Redo")
        redo();
    else if (name == "Copy")
        copy();
    else if (name == "Cut")
        cut();
    else if (name == "Paste")
        paste();
    else if (name == "InsertFile")
        return insertFile();
    else if (const DialogAction action = dialogActionFor(name))
        return (this->*action)();
    else
        return false;
    return true;
}

} // namespace tdx
