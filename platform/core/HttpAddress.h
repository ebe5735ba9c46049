#pragma once
// An HTTP address split into what a connection and a request need.
#include <QString>

namespace platform {

struct HttpAddress {
    QString server;
    quint16 port = 80;
    QString objectPath; // path and query as sent on the request line, starting with "/"
};

// Splits "http://server[:port]/path[?query]". Returns false for anything else
// (another scheme, no server, a port that is not a number in 1..65535).
bool parseHttpAddress(const QString& address, HttpAddress& result);

// The address of an object on a server, the inverse of parseHttpAddress.
QString makeHttpAddress(const QString& server, quint16 port, const QString& objectPath);

} // namespace platform
