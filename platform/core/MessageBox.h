#pragma once
// One message-box service for every program. The programs ask through ShowMessage();
// the backend decides how: Qt dialogs in the GUI, stderr in headless tools, a script in tests.
#include <QList>
#include <QQueue>
#include <QString>

namespace platform {

enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };
enum class MessageIcon { None, Information, Question, Warning, Error };

// Win32 result ids, kept so that callers compare with the numbers they know.
enum class MessageResult { Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

struct MessageRequest {
    QString text;
    QString caption;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
    const void* owner = nullptr; // window the box is modal to; null for none
};

class MessageBoxBackend {
public:
    virtual ~MessageBoxBackend() = default;
    virtual MessageResult show(const MessageRequest& request) = 0;
};

// Installs the backend used by ShowMessage (not owned). Null restores the stderr backend.
void setMessageBoxBackend(MessageBoxBackend* backend);
MessageBoxBackend* messageBoxBackend();

MessageResult ShowMessage(const QString& text, const QString& caption,
                          MessageButtons buttons = MessageButtons::Ok,
                          MessageIcon icon = MessageIcon::None, const void* owner = nullptr);

// The first button of a set: what a box answers when nobody can ask the user.
MessageResult defaultAnswer(MessageButtons buttons);

// Writes each message to stderr and gives the default answer. Used by headless programs.
class StderrMessageBoxes : public MessageBoxBackend {
public:
    MessageResult show(const MessageRequest& request) override;
};

// Records every request and answers from a queue; an empty queue gives the default answer.
class ScriptedMessageBoxes : public MessageBoxBackend {
public:
    MessageResult show(const MessageRequest& request) override;
    void enqueue(MessageResult answer) { m_answers.enqueue(answer); }
    const QList<MessageRequest>& asked() const { return m_asked; }
    void clear() { m_asked.clear(); m_answers.clear(); }

private:
    QList<MessageRequest> m_asked;
    QQueue<MessageResult> m_answers;
};

// Installs a backend for the lifetime of a scope, restoring the previous one after.
class ScopedMessageBoxBackend {
public:
    explicit ScopedMessageBoxBackend(MessageBoxBackend* backend);
    ~ScopedMessageBoxBackend();
    ScopedMessageBoxBackend(const ScopedMessageBoxBackend&) = delete;
    ScopedMessageBoxBackend& operator=(const ScopedMessageBoxBackend&) = delete;

private:
    MessageBoxBackend* m_previous;
};

} // namespace platform
