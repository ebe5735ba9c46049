#include "platform/core/LongWork.h"

#include <utility>

namespace platform {

namespace {
LongWorkHandler& currentHandler()
{
    static LongWorkHandler handler;
    return handler;
}
} // namespace

void LongWorkStep(qint64 done, qint64 total)
{
    if (const LongWorkHandler& handler = currentHandler())
        handler(done, total);
}

ScopedLongWorkHandler::ScopedLongWorkHandler(LongWorkHandler handler)
    : m_previous(std::exchange(currentHandler(), std::move(handler)))
{
}

ScopedLongWorkHandler::~ScopedLongWorkHandler() { currentHandler() = std::move(m_previous); }

} // namespace platform
