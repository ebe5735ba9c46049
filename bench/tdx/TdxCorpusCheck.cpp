// Opens every XHTML chapter of the accepted corpus books in the control, inserts one
// character in the middle paragraph, saves it back and compares the saved chapter with
// the original: text, ids, links, pictures, languages, head, classes and element counts.
//   bench_tdx_corpus CORPUS_FOLDER WORK_FOLDER
// The edited books stay unpacked in WORK_FOLDER (one folder per book) for epubcheck.
#include "editor/DTdxCtrl0.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QProcess>
#include <QTextBlock>
#include <QTextEdit>
#include <QRegularExpression>
#include <QUrl>

#include <pugixml.hpp>

#include <cstdio>

namespace {

constexpr char16_t kMarker = 0x2603; // a character no corpus chapter has

struct Facts {
    QString text;
    QStringList ids, hrefs, pictures, languages, head;
    QMap<QString, int> classes; // "element.class" -> occurrences
    QMap<QString, int> elements;
};

void collect(const pugi::xml_node& node, Facts& facts, bool inHead)
{
    for (const pugi::xml_node& child : node.children()) {
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
            if (!inHead)
                facts.text += QString::fromUtf8(child.value());
            continue;
        }
        if (child.type() != pugi::node_element)
            continue;
        const QString name = QString::fromUtf8(child.name());
        ++facts.elements[name];
        if (const char* id = child.attribute("id").value(); *id)
            facts.ids << QString::fromUtf8(id);
        if (name == "a" && child.attribute("href"))
            facts.hrefs << QString::fromUtf8(child.attribute("href").value());
        if (name == "img")
            facts.pictures << QString::fromUtf8(child.attribute("src").value()) + " | "
                                  + QString::fromUtf8(child.attribute("alt").value());
        for (const char* attribute : {"lang", "xml:lang"})
            if (child.attribute(attribute))
                facts.languages << name + " " + attribute + "=" + QString::fromUtf8(child.attribute(attribute).value());
        if (const char* cls = child.attribute("class").value(); *cls)
            ++facts.classes[name + "." + QString::fromUtf8(cls)];
        if (inHead && node.name() == std::string("head")) {
            QString described = name;
            for (const pugi::xml_attribute& a : child.attributes())
                described += QStringLiteral(" %1=%2").arg(QString::fromUtf8(a.name()), QString::fromUtf8(a.value()));
            described += " : " + QString::fromUtf8(child.text().get()).simplified();
            facts.head << described;
        }
        collect(child, facts, inHead || name == "head");
    }
}

bool factsOf(const QByteArray& bytes, Facts& facts)
{
    pugi::xml_document doc;
    if (!doc.load_buffer(bytes.constData(), size_t(bytes.size()), pugi::parse_default | pugi::parse_ws_pcdata))
        return false;
    collect(doc, facts, false);
    facts.text.remove(QRegularExpression(QStringLiteral("\\s+")));
    return true;
}

// The middle paragraph with text; the character goes into the middle of it.
bool insertMarker(QTextEdit& edit)
{
    QList<QTextBlock> texts;
    for (QTextBlock block = edit.document()->begin(); block.isValid(); block = block.next())
        if (block.text().trimmed().size() > 1)
            texts << block;
    if (texts.isEmpty())
        return false;
    const QTextBlock block = texts.at(texts.size() / 2);
    QTextCursor cursor(block);
    cursor.setPosition(block.position() + block.length() / 2);
    edit.setTextCursor(cursor);
    edit.insertPlainText(QString(QChar(kMarker)));
    return true;
}

struct Totals {
    int chapters = 0, skipped = 0, nothingToEdit = 0, unmodifiedAfterOpen = 0, wellFormed = 0;
    int textSame = 0, idsKept = 0, hrefsKept = 0, picturesKept = 0, languagesKept = 0, headKept = 0, countsWithin = 0;
    qint64 classes = 0, classesKept = 0;
    QMap<QString, QPair<qint64, qint64>> elements; // name -> (original, written)
    QStringList problems;
};

void compare(const QString& chapter, const Facts& before, const Facts& after, Totals& totals)
{
    QString text = after.text;
    text.remove(QChar(kMarker));
    auto check = [&](bool same, int& counter, const char* what) {
        if (same)
            ++counter;
        else
            totals.problems << chapter + ": " + what;
    };
    check(text == before.text, totals.textSame, "text");
    bool ids = true;
    for (const QString& id : before.ids)
        ids = ids && after.ids.contains(id);
    check(ids, totals.idsKept, "ids");
    check(after.hrefs == before.hrefs, totals.hrefsKept, "a/@href");
    check(after.pictures == before.pictures, totals.picturesKept, "img/@src, @alt");
    check(after.languages == before.languages, totals.languagesKept, "lang, xml:lang");
    check(after.head == before.head, totals.headKept, "head");
    for (auto it = before.classes.cbegin(); it != before.classes.cend(); ++it) {
        totals.classes += it.value();
        totals.classesKept += qMin(it.value(), after.classes.value(it.key()));
    }
    bool within = true;
    QStringList names = before.elements.keys() + after.elements.keys();
    names.removeDuplicates();
    for (const QString& name : names) {
        const int o = before.elements.value(name);
        const int w = after.elements.value(name);
        totals.elements[name].first += o;
        totals.elements[name].second += w;
        if (qAbs(w - o) > o / 100.0) {
            within = false;
            totals.problems << QStringLiteral("%1: %2 %3 -> %4").arg(chapter, name).arg(o).arg(w);
        }
    }
    check(within, totals.countsWithin, "element counts");
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_tdx_corpus CORPUS_FOLDER WORK_FOLDER\n");
        return 2;
    }
    const QDir corpus(QString::fromLocal8Bit(argv[1]));
    const QDir work(QString::fromLocal8Bit(argv[2]));
    QFile expectedFile(corpus.filePath("expected.json"));
    if (!expectedFile.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "no expected.json in %s\n", argv[1]);
        return 1;
    }
    const QJsonObject expected = QJsonDocument::fromJson(expectedFile.readAll()).object();
    CDTdxCtrl0 ctrl;
    if (!ctrl.Create(nullptr, QRect(0, 0, 1000, 800), 0))
        return 1;
    auto& edit = *qobject_cast<QTextEdit*>(ctrl.GetControl()->widget());
    Totals totals;
    for (auto it = expected.begin(); it != expected.end(); ++it) {
        const QJsonObject book = it.value().toObject();
        if (it.key().startsWith('_') || !book.value("accepted").toBool() || book.value("opf_path").toString().isEmpty())
            continue;
        const QString folder = work.filePath(QFileInfo(it.key()).completeBaseName());
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
        if (QProcess::execute("unzip", {"-qq", "-o", corpus.filePath(it.key()), "-d", folder}) > 1)
            continue;
        const QString opfFolder = QFileInfo(QDir(folder).filePath(book.value("opf_path").toString())).absolutePath();
        for (const QJsonValue& item : book.value("manifest").toArray()) {
            const QJsonArray fields = item.toArray();
            if (fields.at(2).toString() != "application/xhtml+xml")
                continue;
            const QString path = QDir::cleanPath(opfFolder + '/' + QUrl::fromPercentEncoding(fields.at(1).toString().toUtf8()));
            if (!path.startsWith(QDir(folder).absolutePath() + '/') || !QFileInfo(path).isFile())
                continue;
            const QString name = it.key() + ":" + QDir(folder).relativeFilePath(path);
            QFile file(path);
            file.open(QIODevice::ReadOnly);
            const QByteArray original = file.readAll();
            file.close();
            Facts before;
            if (!factsOf(original, before)) {
                ++totals.skipped;
                continue;
            }
            ++totals.chapters;
            if (!ctrl.OpenDocument(path, "HTML", "imagelink:true;tdxstyle:false;code:utf8;")) {
                totals.problems << name + ": not opened";
                continue;
            }
            if (!ctrl.IsModified(1))
                ++totals.unmodifiedAfterOpen;
            if (!insertMarker(edit)) {
                ++totals.nothingToEdit; // a cover page: pictures only
                continue;
            }
            if (!ctrl.SaveDocumentAs(path, "XHTML", "imagePath:images;textunit:em;")) {
                totals.problems << name + ": not saved";
                continue;
            }
            file.open(QIODevice::ReadOnly);
            Facts after;
            if (!factsOf(file.readAll(), after)) {
                totals.problems << name + ": written chapter is not well-formed";
                continue;
            }
            ++totals.wellFormed;
            compare(name, before, after, totals);
        }
    }
    for (const QString& problem : std::as_const(totals.problems))
        std::printf("  %s\n", qPrintable(problem));
    std::printf("chapters %d (not well-formed, skipped: %d)\n", totals.chapters, totals.skipped);
    std::printf("unmodified right after opening  %d/%d\n", totals.unmodifiedAfterOpen, totals.chapters);
    const int n = totals.chapters - totals.nothingToEdit;
    std::printf("edited (no paragraph in %d)     %d\n", totals.nothingToEdit, n);
    std::printf("well-formed after the edit      %d/%d\n", totals.wellFormed, n);
    std::printf("text identical                  %d/%d\n", totals.textSame, n);
    std::printf("every id kept                   %d/%d\n", totals.idsKept, n);
    std::printf("every a/@href kept              %d/%d\n", totals.hrefsKept, n);
    std::printf("img/@src and @alt kept          %d/%d\n", totals.picturesKept, n);
    std::printf("lang and xml:lang kept          %d/%d\n", totals.languagesKept, n);
    std::printf("head children kept              %d/%d\n", totals.headKept, n);
    std::printf("element counts within 1%%        %d/%d\n", totals.countsWithin, n);
    std::printf("class attributes kept           %lld/%lld (%.2f%%)\n", totals.classesKept, totals.classes,
                totals.classes ? 100.0 * totals.classesKept / totals.classes : 100.0);
    std::printf("elements, original -> written, all chapters:\n");
    for (auto it = totals.elements.cbegin(); it != totals.elements.cend(); ++it)
        if (it.value().first != it.value().second)
            std::printf("  %-12s %lld -> %lld\n", qPrintable(it.key()), it.value().first, it.value().second);
    return 0;
}
