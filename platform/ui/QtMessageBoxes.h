#pragma once
#include "platform/core/MessageBox.h"

namespace platform {

// Shows requests as QMessageBox dialogs. The owner, when given, is a QWidget*.
class QtMessageBoxes : public MessageBoxBackend {
public:
    MessageResult show(const MessageRequest& request) override;
};

} // namespace platform
