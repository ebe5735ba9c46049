#pragma once
// Asks for an equation's source and shows it drawn as it is typed.
#include <QDialog>

class QLabel;
class QLineEdit;

namespace tdx {

class EquationDialog : public QDialog {
public:
    EquationDialog(QWidget* parent, const QString& source);

    QString source() const;
    void accept() override;

private:
    void showPreview();

    QLineEdit* m_source;
    QLabel* m_preview;
};

} // namespace tdx
