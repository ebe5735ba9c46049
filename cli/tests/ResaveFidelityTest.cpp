// A resave without edits keeps the package data of every corpus book: each dc element with its
// text and attributes, each manifest item's and itemref's attributes, each navPoint's id and
// class, and a playOrder that no two NCX entries share. The files are read straight from both
// archives, matching elements by their qualified names as written.
#include "cli/tests/CliRunner.h"
#include "platform/testsupport/TestCorpus.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <pugixml.hpp>
#include <zip.h>

#include <iostream>
#include <optional>

namespace {

std::optional<QByteArray> readMember(const QString& epub, const QString& member)
{
    int error = 0;
    zip_t* zip = zip_open(QFile::encodeName(epub).constData(), ZIP_RDONLY, &error);
    if (!zip)
        return std::nullopt;
    std::optional<QByteArray> data;
    zip_stat_t stat;
    if (zip_stat(zip, member.toUtf8().constData(), 0, &stat) == 0) {
        if (zip_file_t* file = zip_fopen_index(zip, stat.index, 0)) {
            QByteArray bytes(qsizetype(stat.size), '\0');
            if (zip_fread(file, bytes.data(), stat.size) == zip_int64_t(stat.size))
                data = bytes;
            zip_fclose(file);
        }
    }
    zip_discard(zip);
    return data;
}

QString localName(const pugi::xml_node& node)
{
    const QString name = QString::fromUtf8(node.name());
    return name.mid(name.indexOf(':') + 1);
}

QString allText(const pugi::xml_node& node)
{
    QString text;
    for (const pugi::xml_node& child : node.children()) {
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata)
            text += QString::fromUtf8(child.value());
        else if (child.type() == pugi::node_element)
            text += allText(child);
    }
    return text;
}

// The save may write the opf prefix on these bare OPF attributes of a dc element.
QString attributeKey(const QString& name, bool dcElement)
{
    static const QStringList opfAttributes{"role", "scheme", "file-as", "event"};
    return dcElement && opfAttributes.contains(name) ? "opf:" + name : name;
}

QString attributes(const pugi::xml_node& node, bool dcElement = false)
{
    QMap<QString, QString> sorted;
    for (const pugi::xml_attribute& attribute : node.attributes())
        sorted.insert(attributeKey(QString::fromUtf8(attribute.name()), dcElement), QString::fromUtf8(attribute.value()));
    QStringList out;
    for (auto it = sorted.begin(); it != sorted.end(); ++it)
        out.append(it.key() + "=\"" + it.value() + "\"");
    return "{" + out.join(' ') + "}";
}

// name="value", or name absent.
QString attributeValue(const pugi::xml_node& node, const char* name)
{
    const pugi::xml_attribute attribute = node.attribute(name);
    return attribute ? QString("%1=\"%2\"").arg(name, QString::fromUtf8(attribute.value())) : QString(name) + " absent";
}

// What a resave must keep of one book, each list in document order.
struct PackageData {
    QMap<QString, QStringList> dcElements; // qualified name -> "text" {attributes}
    QStringList items;
    QStringList itemrefs;
    QStringList navPoints;                 // id and class
    QMap<QString, QStringList> playOrders; // value -> the entries that use it
};

void collect(const pugi::xml_node& node, PackageData& data)
{
    for (const pugi::xml_node& child : node.children()) {
        if (child.type() != pugi::node_element)
            continue;
        const QString name = QString::fromUtf8(child.name());
        const QString local = localName(child);
        const QString parent = localName(node);
        if (name.startsWith("dc:"))
            data.dcElements[name].append('"' + allText(child) + "\" " + attributes(child, true));
        else if (local == "item" && parent == "manifest")
            data.items.append(attributes(child));
        else if (local == "itemref" && parent == "spine")
            data.itemrefs.append(attributes(child));
        if (local == "navPoint")
            data.navPoints.append(attributeValue(child, "id") + " " + attributeValue(child, "class"));
        if (const pugi::xml_attribute order = child.attribute("playOrder"))
            data.playOrders[QString::fromUtf8(order.value())].append(local + " " + child.attribute("id").value());
        collect(child, data);
    }
}

// False when the member is missing or not well-formed.
bool load(const QString& epub, const QString& member, PackageData& data)
{
    const std::optional<QByteArray> bytes = readMember(epub, member);
    pugi::xml_document document;
    if (!bytes || !document.load_buffer(bytes->constData(), size_t(bytes->size()),
                                        pugi::parse_default | pugi::parse_ws_pcdata, pugi::encoding_auto))
        return false;
    collect(document, data);
    return true;
}

constexpr int kMostLinesPerList = 6;

// Keeps a book's report readable when one fault repeats over many entries.
void appendCapped(const QString& what, const QStringList& lines, QStringList& diff)
{
    diff += lines.mid(0, kMostLinesPerList);
    if (lines.size() > kMostLinesPerList)
        diff.append(QString("%1: %2 more like these").arg(what).arg(lines.size() - kMostLinesPerList));
}

// Differences of two lists, entry by entry.
void compareLists(const QString& what, const QStringList& before, const QStringList& after, QStringList& diff)
{
    QStringList lines;
    for (qsizetype i = 0; i < qMax(before.size(), after.size()); ++i) {
        const QString was = i < before.size() ? before[i] : QStringLiteral("(none)");
        const QString now = i < after.size() ? after[i] : QStringLiteral("(none)");
        if (was != now)
            lines.append(QString("%1 #%2: before %3\n      after  %4").arg(what).arg(i + 1).arg(was, now));
    }
    appendCapped(what, lines, diff);
}

QStringList compareOpf(const PackageData& before, const PackageData& after)
{
    QStringList diff;
    QStringList names = before.dcElements.keys() + after.dcElements.keys();
    names.removeDuplicates();
    for (const QString& name : names)
        compareLists(name, before.dcElements.value(name), after.dcElements.value(name), diff);
    compareLists("manifest item", before.items, after.items, diff);
    compareLists("spine itemref", before.itemrefs, after.itemrefs, diff);
    return diff;
}

QStringList compareNcx(const PackageData& before, const PackageData& after)
{
    QStringList diff;
    compareLists("navPoint", before.navPoints, after.navPoints, diff);
    QStringList shared;
    for (auto it = after.playOrders.begin(); it != after.playOrders.end(); ++it) {
        if (it.value().size() > 1)
            shared.append(QString("playOrder %1 shared by %2").arg(it.key(), it.value().join(", ")));
    }
    appendCapped("playOrder", shared, diff);
    return diff;
}

struct CorpusBook {
    QString file;
    QString opfPath;
    QString ncxPath;
};

// The books lindar-cli opens: accepted by the editor's rule and with a container.
QList<CorpusBook> openableBooks(const QString& corpus)
{
    QFile file(corpus + "/expected.json");
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<CorpusBook> books;
    const QJsonObject described = QJsonDocument::fromJson(file.readAll()).object();
    for (auto it = described.begin(); it != described.end(); ++it) {
        const QJsonObject book = it.value().toObject();
        if (!book.value("accepted").toBool() || !book.value("has_container").toBool())
            continue;
        const QString ncx = book.value("ncx_path").toString();
        books.append({it.key(), book.value("opf_path").toString(),
                      ncx.isEmpty() ? book.value("ncx_fallback_path").toString() : ncx});
    }
    return books;
}

} // namespace

TEST(ResaveFidelity, EveryCorpusBookKeepsItsPackageData)
{
    const QString corpus = TestCorpusFolder();
    KVX_NEED_CORPUS_FILE(corpus + "/expected.json");
    QTemporaryDir out;
    ASSERT_TRUE(out.isValid());
    const QList<CorpusBook> books = openableBooks(corpus);

    QStringList differing;
    QStringList notCompared;
    int compared = 0;
    for (const CorpusBook& book : books) {
        const QString source = corpus + "/" + book.file;
        const QString target = out.filePath(book.file);
        const CliRun resave = runCli({"resave", source, target});
        // A book whose container names no usable package is never saved: nothing to keep.
        if (resave.exitCode == 1 && resave.err.contains("no usable package file")) {
            EXPECT_FALSE(QFileInfo::exists(target)) << book.file.toStdString();
            notCompared << book.file;
            continue;
        }
        if (resave.exitCode != 0) {
            ADD_FAILURE() << book.file.toStdString() << ": resave failed: " << resave.err.toStdString();
            differing.append(book.file);
            continue;
        }
        PackageData opfBefore, opfAfter, ncxBefore, ncxAfter;
        // A book whose package document cannot be read has nothing of it to keep.
        if (!load(source, book.opfPath, opfBefore)) {
            notCompared << book.file;
            continue;
        }
        ++compared;
        QStringList diff = load(target, book.opfPath, opfAfter) ? compareOpf(opfBefore, opfAfter)
                                                                : QStringList{"package document unreadable after the resave"};
        if (load(source, book.ncxPath, ncxBefore))
            diff += load(target, book.ncxPath, ncxAfter) ? compareNcx(ncxBefore, ncxAfter)
                                                        : QStringList{"NCX unreadable after the resave"};
        if (!diff.isEmpty()) {
            differing.append(book.file);
            ADD_FAILURE() << book.file.toStdString() << " changed by a resave without edits:\n    "
                          << diff.join("\n    ").toStdString();
        }
        QFile::remove(target);
    }
    std::cout << "resave fidelity: " << compared << " books compared, " << differing.size() << " differ"
              << (differing.isEmpty() ? "" : ": ") << differing.join(", ").toStdString() << std::endl;
    // Only the books whose container names no usable package go uncompared.
    notCompared.sort();
    EXPECT_EQ(notCompared, (QStringList{"ec2-opf-missing.epub", "ec2-rootfile-full-path-missing.epub",
                                        "ec20-rootfile-mediatype-typo.epub"}));
}
