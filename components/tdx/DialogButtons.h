#pragma once
// The "확인"/"취소" row the control's dialogs end with.
class QDialog;
class QDialogButtonBox;

namespace tdx {

// Accepts and rejects `dialog`; "확인" is the default button.
QDialogButtonBox* okCancelButtons(QDialog& dialog);

} // namespace tdx
