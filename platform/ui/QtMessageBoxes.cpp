#include "platform/ui/QtMessageBoxes.h"

#include <QMessageBox>
#include <QWidget>

namespace platform {
namespace {

QMessageBox::StandardButtons buttonsFor(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok: return QMessageBox::Ok;
    case MessageButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MessageButtons::RetryCancel: return QMessageBox::Retry | QMessageBox::Cancel;
    case MessageButtons::AbortRetryIgnore: return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon iconFor(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::None: return QMessageBox::NoIcon;
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Error: return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

MessageResult resultFor(int button)
{
    switch (button) {
    case QMessageBox::Ok: return MessageResult::Ok;
    case QMessageBox::Cancel: return MessageResult::Cancel;
    case QMessageBox::Abort: return MessageResult::Abort;
    case QMessageBox::Retry: return MessageResult::Retry;
    case QMessageBox::Ignore: return MessageResult::Ignore;
    case QMessageBox::Yes: return MessageResult::Yes;
    case QMessageBox::No: return MessageResult::No;
    default: return MessageResult::Cancel; // closed with Escape
    }
}

} // namespace

MessageResult QtMessageBoxes::show(const MessageRequest& request)
{
    auto* owner = static_cast<QWidget*>(const_cast<void*>(request.owner));
    QMessageBox box(iconFor(request.icon), request.caption, request.text,
                    buttonsFor(request.buttons), owner);
    return resultFor(box.exec());
}

} // namespace platform
