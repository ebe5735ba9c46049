#pragma once
// Long work done on the window's thread (unpacking a book, reading its package) reports its
// steps here. A program with a window installs a handler that lets the window turn its event
// loop between steps, so that it keeps painting; without a handler a step costs nothing.
#include <QtGlobal>

#include <functional>

namespace platform {

// `done` of `total` units are finished; a total of 0 marks a step of unknown share.
using LongWorkHandler = std::function<void(qint64 done, qint64 total)>;

void LongWorkStep(qint64 done = 0, qint64 total = 0);

// Installs `handler` for its lifetime and puts the one before it back afterwards.
class ScopedLongWorkHandler {
public:
    explicit ScopedLongWorkHandler(LongWorkHandler handler);
    ~ScopedLongWorkHandler();
    ScopedLongWorkHandler(const ScopedLongWorkHandler&) = delete;
    ScopedLongWorkHandler& operator=(const ScopedLongWorkHandler&) = delete;

private:
    LongWorkHandler m_previous;
};

} // namespace platform
