#include "platform/core/InternetSession.h"

#include "platform/core/HttpConnection.h"

#include <curl/curl.h>

#include <mutex>

namespace platform {
namespace {

CURLcode startLibrary()
{
    // The library's global start is not thread-safe and is done once per process.
    static std::once_flag once;
    static CURLcode result = CURLE_OK;
    std::call_once(once, [] { result = curl_global_init(CURL_GLOBAL_DEFAULT); });
    return result;
}

} // namespace

InternetSession::InternetSession(const QString& userAgent, const InternetLimits& limits)
    : m_userAgent(userAgent)
    , m_limits(limits)
{
    const CURLcode started = startLibrary();
    if (started != CURLE_OK)
        m_error = {static_cast<int>(started), QString::fromUtf8(curl_easy_strerror(started))};
}

std::unique_ptr<HttpConnection> InternetSession::openHttpConnection(const QString& server, quint16 port) const
{
    if (!isOpen() || server.trimmed().isEmpty() || port == 0)
        return nullptr;
    return std::unique_ptr<HttpConnection>(new HttpConnection(*this, server.trimmed(), port));
}

} // namespace platform
