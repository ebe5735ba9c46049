#include "platform/core/MessageBox.h"

#include <cstdio>

namespace platform {
namespace {

StderrMessageBoxes& stderrBackend()
{
    static StderrMessageBoxes backend;
    return backend;
}

MessageBoxBackend* g_backend = nullptr;

} // namespace

void setMessageBoxBackend(MessageBoxBackend* backend) { g_backend = backend; }

MessageBoxBackend* messageBoxBackend() { return g_backend ? g_backend : &stderrBackend(); }

MessageResult ShowMessage(const QString& text, const QString& caption, MessageButtons buttons,
                          MessageIcon icon, const void* owner)
{
    return messageBoxBackend()->show({text, caption, buttons, icon, owner});
}

MessageResult defaultAnswer(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok:
    case MessageButtons::OkCancel:
        return MessageResult::Ok;
    case MessageButtons::YesNo:
    case MessageButtons::YesNoCancel:
        return MessageResult::Yes;
    case MessageButtons::RetryCancel:
        return MessageResult::Retry;
    case MessageButtons::AbortRetryIgnore:
        return MessageResult::Abort;
    }
    return MessageResult::Ok;
}

MessageResult StderrMessageBoxes::show(const MessageRequest& request)
{
    const QByteArray line = (request.caption.isEmpty() ? request.text
                                                       : request.caption + ": " + request.text)
                                .toLocal8Bit();
    std::fprintf(stderr, "%s\n", line.constData());
    return defaultAnswer(request.buttons);
}

MessageResult ScriptedMessageBoxes::show(const MessageRequest& request)
{
    m_asked.append(request);
    return m_answers.isEmpty() ? defaultAnswer(request.buttons) : m_answers.dequeue();
}

ScopedMessageBoxBackend::ScopedMessageBoxBackend(MessageBoxBackend* backend)
    : m_previous(g_backend)
{
    g_backend = backend;
}

ScopedMessageBoxBackend::~ScopedMessageBoxBackend() { g_backend = m_previous; }

} // namespace platform
