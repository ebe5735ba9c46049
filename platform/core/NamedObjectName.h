#pragma once
// Windows kernel-object names ("Global\SHMEM{...}") mapped to POSIX object names.
//
// The POSIX name is "/" + an optional namespace + the Windows name, where every byte of the
// name's UTF-8 form that a POSIX name cannot hold, or that would make the mapping ambiguous,
// is written as "%XX" (two upper-case hex digits): "/", "\", "%", control characters,
// space and every non-ASCII byte. Other printable ASCII stays as it is, so
// "Global\SHMEM{9B63...}" becomes "/Global%5CSHMEM{9B63...}". The mapping is one-to-one.
//
// The namespace comes from the environment variable KVX_OBJECT_NAMESPACE (empty by default,
// escaped the same way). Windows names are machine-wide; setting the variable lets test
// runs that happen at the same time keep their objects apart.
#include <QByteArray>
#include <QString>

namespace platform {

// Empty when the mapped name would be longer than POSIX objects allow.
QByteArray PosixObjectName(const QString& windowsName);

} // namespace platform
