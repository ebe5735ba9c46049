#include "platform/core/HttpRequest.h"

#include <QStringList>

#include <curl/curl.h>

#include <algorithm>
#include <cstring>

namespace platform {
namespace {

// Frees a header list when it goes out of scope.
struct HeaderList {
    curl_slist* list = nullptr;
    ~HeaderList() { curl_slist_free_all(list); }
    bool append(const QByteArray& line)
    {
        curl_slist* grown = curl_slist_append(list, line.constData());
        if (!grown)
            return false;
        list = grown;
        return true;
    }
};

} // namespace

HttpRequest::HttpRequest(const QString& server, const QString& address, const QString& userAgent,
                         const InternetLimits& limits)
    : m_handle(curl_easy_init())
    , m_server(server)
    , m_address(address.toUtf8())
    , m_userAgent(userAgent.toUtf8())
    , m_limits(limits)
{
}

HttpRequest::~HttpRequest() { close(); }

void HttpRequest::close()
{
    if (m_handle)
        curl_easy_cleanup(static_cast<CURL*>(m_handle));
    m_handle = nullptr;
    m_body.clear();
    m_readPosition = 0;
}

size_t HttpRequest::takeBody(char* data, size_t size, size_t count, void* request)
{
    auto* self = static_cast<HttpRequest*>(request);
    const size_t offered = size * count;
    const size_t room = static_cast<size_t>(std::max<qsizetype>(0, self->m_limits.maxBodyBytes - self->m_body.size()));
    const size_t taken = std::min(offered, room);
    self->m_body.append(data, static_cast<qsizetype>(taken));
    if (taken < offered)
        self->m_bodyCut = true; // answering short ends the transfer: the rest is never fetched
    return taken;
}

bool HttpRequest::send(const QString& additionalHeaders)
{
    if (!m_handle || m_sent) {
        m_error = {CURLE_FAILED_INIT, QStringLiteral("The request is closed or was already sent.")};
        return false;
    }
    m_sent = true;
    // Names under the reserved "invalid" domain never resolve; no resolver is asked.
    if (m_server.endsWith(QLatin1String(".invalid"), Qt::CaseInsensitive)
        || m_server.compare(QLatin1String("invalid"), Qt::CaseInsensitive) == 0) {
        m_error = {CURLE_COULDNT_RESOLVE_HOST,
                   QString::fromUtf8(curl_easy_strerror(CURLE_COULDNT_RESOLVE_HOST)) + QStringLiteral(": ") + m_server};
        return false;
    }
    CURL* curl = static_cast<CURL*>(m_handle);

    HeaderList headers;
    for (QString line : additionalHeaders.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (!line.isEmpty() && !headers.append(line.toUtf8())) {
            m_error = {CURLE_OUT_OF_MEMORY, QString::fromUtf8(curl_easy_strerror(CURLE_OUT_OF_MEMORY))};
            return false;
        }
    }
    // No accept types are offered: drop the library's default "Accept" line.
    if (!headers.append("Accept:")) {
        m_error = {CURLE_OUT_OF_MEMORY, QString::fromUtf8(curl_easy_strerror(CURLE_OUT_OF_MEMORY))};
        return false;
    }

    char detail[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(curl, CURLOPT_URL, m_address.constData());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http");
    curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(curl, CURLOPT_USERAGENT, m_userAgent.constData());
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers.list);
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(m_limits.connectTimeoutMs));
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(m_limits.totalTimeoutMs));
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L); // timeouts without signals: safe in any thread
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &HttpRequest::takeBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, detail);

    const CURLcode result = curl_easy_perform(curl);
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, nullptr);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, nullptr);
    if (result == CURLE_OK || (result == CURLE_WRITE_ERROR && m_bodyCut))
        return true;

    QString message = QString::fromUtf8(curl_easy_strerror(result));
    if (detail[0] != '\0')
        message += QStringLiteral(": ") + QString::fromUtf8(detail, static_cast<qsizetype>(std::strlen(detail)));
    m_error = {static_cast<int>(result), message};
    return false;
}

bool HttpRequest::queryStatusCode(quint32& statusCode) const
{
    if (!m_handle || !m_sent || m_error.isSet())
        return false;
    long code = 0;
    if (curl_easy_getinfo(static_cast<CURL*>(m_handle), CURLINFO_RESPONSE_CODE, &code) != CURLE_OK || code <= 0)
        return false;
    statusCode = static_cast<quint32>(code);
    return true;
}

qint64 HttpRequest::read(char* buffer, qint64 room)
{
    const qint64 left = m_body.size() - m_readPosition;
    const qint64 count = std::min(left, std::max<qint64>(0, room));
    if (count > 0) {
        std::memcpy(buffer, m_body.constData() + m_readPosition, static_cast<size_t>(count));
        m_readPosition += count;
    }
    return count;
}

} // namespace platform
