#pragma once
// One GET request to the update server, as both online services make it: a fresh client
// handle, connection and request, the status, and the body of a 200 answer read into
// 2048 bytes at most. Everything is closed again before returning.
#include <QByteArray>
#include <QString>

struct UpdateServerAnswer {
    enum class Outcome {
        Answered,     // statusCode holds the status; body holds the body of a 200 answer
        NoConnection, // no connection could be set up (also: no usable server address)
        NoRequest,    // no request could be set up
        NotSent,      // sending failed before an answer arrived (name lookup, connect, timeout, ...)
        ClientError,  // the internet client itself could not be started
    };
    Outcome outcome = Outcome::ClientError;
    quint32 statusCode = 0;
    QByteArray body;
};

inline constexpr qsizetype kServerTextBufferSize = 2048;

UpdateServerAnswer RequestFromUpdateServer(const QString& objectPath);

// The text of an answer: the first three bytes are dropped whatever they are (the servers
// write a byte-order mark), the rest up to a NUL is decoded, and white space is trimmed.
enum class ServerTextEncoding { Utf8, Local8Bit };
QString DecodeServerText(const QByteArray& body, ServerTextEncoding encoding);

// The "&"-separated fields of an answer text; empty pieces are skipped.
QStringList SplitServerFields(const QString& text);
