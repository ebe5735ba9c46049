#pragma once
// The find and replace dialog: stays open beside the text while the user searches.
#include <QDialog>

class QCheckBox;
class QLineEdit;
class QRadioButton;
class QTextEdit;

namespace tdx {

struct FindOptions;

class FindDialog : public QDialog {
public:
    explicit FindDialog(QTextEdit& edit);

    // Takes the selected text as the text to find, as a fresh search starts from it.
    void startFromSelection();

private:
    FindOptions options() const;
    void findNextClicked();
    void replaceClicked();
    void replaceAllClicked();

    QTextEdit& m_edit;
    QLineEdit* m_find;
    QLineEdit* m_replace;
    QCheckBox* m_matchCase;
    QCheckBox* m_wholeWord;
    QRadioButton* m_up;
};

} // namespace tdx
