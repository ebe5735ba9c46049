#pragma once
// The JSON form of an open book that `lindar-cli info` prints.
#include <QJsonArray>
#include <QJsonObject>

namespace platform {
class TreeControl;
}

namespace cli {

class BookSession;

// Each item as {"text", "image", "children"}, in tree order.
QJsonArray treeToJson(const platform::TreeControl& tree);
// {"accepted", "file", "workFolder", "packagePath", "ncxPath", "firstDocument", "trees"}.
QJsonObject describeBook(const BookSession& session, const QString& bookFilePath, bool accepted);

} // namespace cli
