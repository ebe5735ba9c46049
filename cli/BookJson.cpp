#include "cli/BookJson.h"

#include "cli/BookSession.h"
#include "platform/controls/PropertyGrid.h"
#include "platform/controls/TreeControl.h"

namespace cli {
namespace {

QJsonArray itemsToJson(const platform::TreeControl& tree, platform::TreeItem first)
{
    QJsonArray items;
    for (platform::TreeItem item = first; item; item = tree.GetNextSiblingItem(item)) {
        items.append(QJsonObject{
            {QStringLiteral("text"), tree.GetItemText(item)},
            {QStringLiteral("image"), tree.GetItemImage(item)},
            {QStringLiteral("children"), itemsToJson(tree, tree.GetChildItem(item))},
        });
    }
    return items;
}

QJsonArray rowsToJson(const platform::PropertyGrid& grid, int group)
{
    QJsonArray rows;
    for (int row = 0; row < grid.GetRowCount(group); ++row)
        rows.append(QJsonArray{grid.GetRowName(group, row), grid.GetRowValue(group, row)});
    return rows;
}

} // namespace

QJsonObject gridToJson(const platform::PropertyGrid& grid)
{
    return QJsonObject{
        {QStringLiteral("required"), rowsToJson(grid, 0)},
        {QStringLiteral("additional"), rowsToJson(grid, 1)},
    };
}

QJsonArray treeToJson(const platform::TreeControl& tree) { return itemsToJson(tree, tree.GetRootItem()); }

QJsonObject describeBook(const BookSession& session, const QString& bookFilePath, bool accepted)
{
    const CePubContainerFormat& container = session.container();
    const COpenPackageFormat& package = container.GetPackage();
    QString firstDocument;
    if (accepted)
        package.GetOPFManager().GetFirstDocumentPath(firstDocument);
    return QJsonObject{
        {QStringLiteral("accepted"), accepted},
        {QStringLiteral("file"), bookFilePath},
        {QStringLiteral("workFolder"), container.GetWorkFolderPath()},
        {QStringLiteral("packagePath"), accepted ? package.GetPackagePath() : QString()},
        {QStringLiteral("ncxPath"), package.GetOPFManager().GetNCXPath()},
        {QStringLiteral("firstDocument"), firstDocument},
        {QStringLiteral("trees"),
         QJsonObject{
             {QStringLiteral("manifest"), treeToJson(session.manifestTree())},
             {QStringLiteral("spine"), treeToJson(session.spineTree())},
             {QStringLiteral("navigation"), treeToJson(session.navigationTree())},
         }},
        {QStringLiteral("grid"), gridToJson(session.metadataGrid())},
    };
}

} // namespace cli
