#include "components/tdx/DictionaryDialog.h"

#include "components/tdx/SpellDictionaries.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace tdx {

namespace {

QListWidget* listOf(QWidget* parent, const QStringList& words, const QString& none)
{
    auto* list = new QListWidget(parent);
    list->addItems(words.isEmpty() ? QStringList{none} : words);
    list->setEnabled(!words.isEmpty());
    return list;
}

} // namespace

DictionaryDialog::DictionaryDialog(QWidget* parent, const QString& word, SpellDictionaries& dictionaries)
    : QDialog(parent), m_word(word), m_correct(dictionaries.isCorrect(word)),
      m_suggestions(dictionaries.suggestions(word)), m_stems(dictionaries.stems(word))
{
    setObjectName(QStringLiteral("DictionaryDialog"));
    setWindowTitle(QStringLiteral("Corvel 사전"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("낱말:"), new QLabel(word, this));
    form->addRow(QString(), new QLabel(m_correct ? QStringLiteral("사전에 있는 낱말입니다.")
                                                 : QStringLiteral("사전에 없는 낱말입니다."), this));
    form->addRow(QStringLiteral("추천 낱말:"), listOf(this, m_suggestions, QStringLiteral("(없음)")));
    form->addRow(QStringLiteral("기본형:"), listOf(this, m_stems, QStringLiteral("(없음)")));
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("닫기"), QDialogButtonBox::RejectRole)->setDefault(true);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

} // namespace tdx
