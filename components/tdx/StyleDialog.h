#pragma once
// The style list: the styles of the document, the paragraph's own one chosen.
#include <QDialog>

class QListWidget;

namespace tdx {

class StyleList;

class StyleDialog : public QDialog {
public:
    StyleDialog(QWidget* parent, const StyleList& styles, int current);

    // The chosen style's place in the list, or -1.
    int chosen() const;

private:
    QListWidget* m_list;
};

} // namespace tdx
