#include "cli/BookJson.h"

#include "cli/BookSession.h"
#include "cli/JsonWriter.h"
#include "platform/controls/PropertyGrid.h"
#include "platform/controls/TreeControl.h"

#include <vector>

namespace cli {
namespace {

// Depth first with the open items on a stack of our own: a tree's depth comes from the book.
void writeTree(JsonWriter& json, const platform::TreeControl& tree)
{
    json.beginArray();
    std::vector<platform::TreeItem> open;
    platform::TreeItem item = tree.GetRootItem();
    for (;;) {
        if (item) {
            json.beginObject();
            json.key(QStringLiteral("text"));
            json.value(tree.GetItemText(item));
            json.key(QStringLiteral("image"));
            json.value(tree.GetItemImage(item));
            json.key(QStringLiteral("children"));
            json.beginArray();
            open.push_back(item);
            item = tree.GetChildItem(item);
            continue;
        }
        if (open.empty())
            break;
        json.endArray();
        json.endObject();
        item = tree.GetNextSiblingItem(open.back());
        open.pop_back();
    }
    json.endArray();
}

void writeRows(JsonWriter& json, const platform::PropertyGrid& grid, int group)
{
    json.beginArray();
    for (int row = 0; row < grid.GetRowCount(group); ++row) {
        json.beginArray();
        json.value(grid.GetRowName(group, row));
        json.value(grid.GetRowValue(group, row));
        json.endArray();
    }
    json.endArray();
}

void writeMember(JsonWriter& json, const char* name, const QString& text)
{
    json.key(QLatin1String(name));
    json.value(text);
}

} // namespace

void describeBook(JsonWriter& json, const BookSession& session, const QString& bookFilePath, bool accepted)
{
    const CePubContainerFormat& container = session.container();
    const COpenPackageFormat& package = container.GetPackage();
    QString firstDocument;
    if (accepted)
        package.GetOPFManager().GetFirstDocumentPath(firstDocument);
    json.beginObject();
    json.key(QStringLiteral("accepted"));
    json.value(accepted);
    writeMember(json, "file", bookFilePath);
    writeMember(json, "workFolder", container.GetWorkFolderPath());
    writeMember(json, "packagePath", accepted ? package.GetPackagePath() : QString());
    writeMember(json, "ncxPath", package.GetOPFManager().GetNCXPath());
    writeMember(json, "firstDocument", firstDocument);
    json.key(QStringLiteral("trees"));
    json.beginObject();
    json.key(QStringLiteral("manifest"));
    writeTree(json, session.manifestTree());
    json.key(QStringLiteral("spine"));
    writeTree(json, session.spineTree());
    json.key(QStringLiteral("navigation"));
    writeTree(json, session.navigationTree());
    json.endObject();
    json.key(QStringLiteral("grid"));
    json.beginObject();
    json.key(QStringLiteral("required"));
    writeRows(json, session.metadataGrid(), 0);
    json.key(QStringLiteral("additional"));
    writeRows(json, session.metadataGrid(), 1);
    json.endObject();
    json.endObject();
    json.endLine();
}

} // namespace cli
