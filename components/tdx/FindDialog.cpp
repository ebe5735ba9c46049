#include "components/tdx/FindDialog.h"

#include "components/tdx/DialogHooks.h"
#include "components/tdx/TextFinder.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>
#include <QVBoxLayout>

namespace tdx {

namespace {

QPushButton* addButton(QDialogButtonBox* box, const QString& text, const char* name)
{
    auto* button = box->addButton(text, QDialogButtonBox::ActionRole);
    button->setObjectName(QLatin1String(name));
    return button;
}

} // namespace

FindDialog::FindDialog(QTextEdit& edit)
    : QDialog(&edit), m_edit(edit), m_find(new QLineEdit(this)), m_replace(new QLineEdit(this)),
      m_matchCase(new QCheckBox(QStringLiteral("대/소문자 구분"), this)),
      m_wholeWord(new QCheckBox(QStringLiteral("온전한 낱말"), this)),
      m_up(new QRadioButton(QStringLiteral("위로"), this))
{
    setObjectName(QStringLiteral("FindDialog"));
    setWindowTitle(QStringLiteral("찾기/바꾸기"));
    m_find->setObjectName(QStringLiteral("findText"));
    m_replace->setObjectName(QStringLiteral("replaceText"));
    m_matchCase->setObjectName(QStringLiteral("matchCase"));
    m_wholeWord->setObjectName(QStringLiteral("wholeWord"));
    m_up->setObjectName(QStringLiteral("searchUp"));
    auto* down = new QRadioButton(QStringLiteral("아래로"), this);
    down->setObjectName(QStringLiteral("searchDown"));
    down->setChecked(true);

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("찾을 내용:"), m_find);
    fields->addRow(QStringLiteral("바꿀 내용:"), m_replace);
    auto* direction = new QGroupBox(QStringLiteral("찾을 방향"), this);
    auto* directionLayout = new QHBoxLayout(direction);
    directionLayout->addWidget(down);
    directionLayout->addWidget(m_up);

    auto* buttons = new QDialogButtonBox(Qt::Vertical, this);
    QPushButton* next = addButton(buttons, QStringLiteral("다음 찾기"), "findNext");
    next->setDefault(true);
    connect(next, &QPushButton::clicked, this, &FindDialog::findNextClicked);
    connect(addButton(buttons, QStringLiteral("바꾸기"), "replace"), &QPushButton::clicked, this,
            &FindDialog::replaceClicked);
    connect(addButton(buttons, QStringLiteral("모두 바꾸기"), "replaceAll"), &QPushButton::clicked, this,
            &FindDialog::replaceAllClicked);
    QPushButton* close = buttons->addButton(QStringLiteral("닫기"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("close"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* left = new QVBoxLayout;
    left->addLayout(fields);
    left->addWidget(m_matchCase);
    left->addWidget(m_wholeWord);
    left->addWidget(direction);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addWidget(buttons);
}

void FindDialog::startFromSelection()
{
    const QString selected = m_edit.textCursor().selectedText();
    if (!selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator))
        m_find->setText(selected);
    m_find->selectAll();
    m_find->setFocus();
}

FindOptions FindDialog::options() const
{
    FindOptions options;
    options.matchCase = m_matchCase->isChecked();
    options.wholeWord = m_wholeWord->isChecked();
    options.backward = m_up->isChecked();
    return options;
}

void FindDialog::findNextClicked()
{
    if (!findNext(m_edit, m_find->text(), options()))
        showMessage(this, QStringLiteral("찾는 내용이 없습니다."));
}

void FindDialog::replaceClicked()
{
    if (!replaceNext(m_edit, m_find->text(), m_replace->text(), options()))
        showMessage(this, QStringLiteral("찾는 내용이 없습니다."));
}

void FindDialog::replaceAllClicked()
{
    const int count = replaceAll(m_edit, m_find->text(), m_replace->text(), options());
    showMessage(this, count > 0 ? QStringLiteral("%1개를 바꾸었습니다.").arg(count)
                                : QStringLiteral("찾는 내용이 없습니다."));
}

} // namespace tdx
