#pragma once
// The JSON form of an open book that `lindar-cli info` prints.
#include <QJsonArray>
#include <QJsonObject>

namespace platform {
class PropertyGrid;
class TreeControl;
}

namespace cli {

class BookSession;

// Each item as {"text", "image", "children"}, in tree order.
QJsonArray treeToJson(const platform::TreeControl& tree);
// {"required": [[name, value], ...], "additional": [[name, value], ...]}.
QJsonObject gridToJson(const platform::PropertyGrid& grid);
// {"accepted", "file", "workFolder", "packagePath", "ncxPath", "firstDocument", "trees", "grid"}.
QJsonObject describeBook(const BookSession& session, const QString& bookFilePath, bool accepted);

} // namespace cli
