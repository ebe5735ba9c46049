#include "components/tdx/PictureInsertDialog.h"

#include "components/tdx/DialogButtons.h"
#include "components/tdx/DialogHooks.h"
#include "components/tdx/FileChooser.h"

#include <QDialogButtonBox>
#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace tdx {

namespace {

QSpinBox* sizeBox(QWidget* parent, const char* name)
{
    auto* box = new QSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(0, 10000);
    box->setSuffix(QStringLiteral(" px"));
    box->setSpecialValueText(QStringLiteral("원래 크기"));
    return box;
}

} // namespace

PictureInsertDialog::PictureInsertDialog(QWidget* parent)
    : QDialog(parent), m_file(new QLineEdit(this)),
      m_embedded(new QCheckBox(QStringLiteral("문서에 포함"), this)),
      m_width(sizeBox(this, "width")), m_height(sizeBox(this, "height"))
{
    setObjectName(QStringLiteral("PictureInsertDialog"));
    setWindowTitle(QStringLiteral("그림 넣기"));
    m_file->setObjectName(QStringLiteral("fileName"));
    m_embedded->setObjectName(QStringLiteral("embedded"));
    m_embedded->setChecked(true);
    auto* browse = new QPushButton(QStringLiteral("찾아보기..."), this);
    browse->setObjectName(QStringLiteral("browse"));
    browse->setAutoDefault(false);
    connect(browse, &QPushButton::clicked, this, &PictureInsertDialog::browse);

    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(m_file);
    fileRow->addWidget(browse);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("그림 파일:"), fileRow);
    form->addRow(QString(), m_embedded);
    form->addRow(QStringLiteral("너비:"), m_width);
    form->addRow(QStringLiteral("높이:"), m_height);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(okCancelButtons(*this));
}

QString PictureInsertDialog::fileName() const { return m_file->text().trimmed(); }
bool PictureInsertDialog::embedded() const { return m_embedded->isChecked(); }
int PictureInsertDialog::pictureWidth() const { return m_width->value(); }
int PictureInsertDialog::pictureHeight() const { return m_height->value(); }

void PictureInsertDialog::browse()
{
    const QString chosen = chooseFile(this, QStringLiteral("그림 넣기"),
                                      QStringLiteral("그림 (*.png *.jpg *.jpeg *.gif *.bmp *.svg);;모든 파일 (*)"));
    if (!chosen.isEmpty())
        m_file->setText(chosen);
}

// A file that is no picture is refused here, so the dialog stays open for another choice.
void PictureInsertDialog::accept()
{
    const QString path = fileName();
    QImageReader reader(path);
    if (path.isEmpty() || !reader.canRead()) {
        showMessage(this, QStringLiteral("그림 파일을 열 수 없습니다.\n%1").arg(path));
        return;
    }
    QDialog::accept();
}

} // namespace tdx
