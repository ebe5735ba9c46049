#pragma once
// Asks for a picture file, whether the chapter links it or holds a copy, and its size.
#include <QDialog>

class QCheckBox;
class QLineEdit;
class QSpinBox;

namespace tdx {

class PictureInsertDialog : public QDialog {
public:
    explicit PictureInsertDialog(QWidget* parent);

    QString fileName() const;
    bool embedded() const;
    // Pixels; 0 keeps the picture's own size (or its proportion, when only one is given).
    int pictureWidth() const;
    int pictureHeight() const;

    void accept() override;

private:
    void browse();

    QLineEdit* m_file;
    QCheckBox* m_embedded;
    QSpinBox* m_width;
    QSpinBox* m_height;
};

} // namespace tdx
