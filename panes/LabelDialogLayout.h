#pragma once
// The layout the content and bookmark dialogs share: a caption, one edit field with the
// keyboard focus, and the buttons "확인" (default) and "취소".
#include <QString>

class QDialog;
class QLineEdit;

QLineEdit* BuildLabelDialog(QDialog& dialog, const QString& caption, const QString& fieldName);
