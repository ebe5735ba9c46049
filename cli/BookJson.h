#pragma once
// The JSON form of an open book that `lindar-cli info` prints.
#include <QByteArray>
#include <QString>

namespace cli {

class BookSession;
class JsonWriter;

// Writes {"accepted", "file", "workFolder", "packagePath", "ncxPath", "firstDocument", "trees", "grid"}:
// each tree's items as {"text", "image", "children"} in tree order, the grid as
// {"required": [[name, value], ...], "additional": [[name, value], ...]}, and a line end.
// Compact unless
// `json` is; written without recursion, so its size and cost follow the book's.
void describeBook(JsonWriter& json, const BookSession& session, const QString& bookFilePath, bool accepted);

} // namespace cli
