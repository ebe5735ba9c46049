#pragma once
// The update server answers the version and readiness requests. Its host and port are
// read from the editor's profile on every request:
//   UpdateServer/Host  name or address of the server (default: a name that never resolves,
//                      so a machine without a configured server goes on at once)
//   UpdateServer/Port  TCP port, 1..65535 (default 80)
#include <QString>

inline constexpr char kUpdateServerHostKey[] = "UpdateServer/Host";
inline constexpr char kUpdateServerPortKey[] = "UpdateServer/Port";
inline constexpr char kDefaultUpdateServerHost[] = "update.lindar.invalid";

inline constexpr char kVersionTextPath[] = "/rezaradavave/version.txt";
inline constexpr char kScmReadyTextPath[] = "/rezaradavave/scmready.txt";

// "http://host[:port]" followed by the object path. Empty when the profile names no
// usable host or port.
QString UpdateServerAddress(const QString& objectPath);
