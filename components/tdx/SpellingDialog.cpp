#include "components/tdx/SpellingDialog.h"

#include "components/tdx/DialogHooks.h"
#include "components/tdx/SpellDictionaries.h"
#include "components/tdx/TextFinder.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

namespace tdx {

namespace {

const QRegularExpression& wordPattern()
{
    static const QRegularExpression pattern(QStringLiteral(R"([\p{L}\p{M}]+(?:['’][\p{L}\p{M}]+)*)"));
    return pattern;
}

} // namespace

SpellingDialog::SpellingDialog(QTextEdit& edit, SpellDictionaries& dictionaries)
    : QDialog(&edit), m_edit(edit), m_dictionaries(dictionaries), m_wordField(new QLineEdit(this)),
      m_list(new QListWidget(this)), m_replacement(new QLineEdit(this))
{
    setObjectName(QStringLiteral("SpellingDialog"));
    setWindowTitle(QStringLiteral("맞춤법 검사"));
    m_wordField->setObjectName(QStringLiteral("word"));
    m_wordField->setReadOnly(true);
    m_list->setObjectName(QStringLiteral("suggestionList"));
    m_replacement->setObjectName(QStringLiteral("replacement"));
    connect(m_list, &QListWidget::currentTextChanged, m_replacement, &QLineEdit::setText);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("사전에 없는 낱말:"), m_wordField);
    form->addRow(QStringLiteral("바꿀 낱말:"), m_replacement);
    form->addRow(QStringLiteral("추천 낱말:"), m_list);
    auto* buttons = new QDialogButtonBox(Qt::Vertical, this);
    auto add = [&](const QString& text, const char* name, void (SpellingDialog::*slot)()) {
        QPushButton* button = buttons->addButton(text, QDialogButtonBox::ActionRole);
        button->setObjectName(QLatin1String(name));
        connect(button, &QPushButton::clicked, this, slot);
        return button;
    };
    add(QStringLiteral("바꾸기"), "change", &SpellingDialog::change)->setDefault(true);
    add(QStringLiteral("모두 바꾸기"), "changeAll", &SpellingDialog::changeAll);
    add(QStringLiteral("건너뛰기"), "ignore", &SpellingDialog::ignore);
    add(QStringLiteral("사전에 추가"), "addWord", &SpellingDialog::addWord);
    buttons->addButton(QStringLiteral("닫기"), QDialogButtonBox::RejectRole)->setObjectName(QStringLiteral("close"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

bool SpellingDialog::start()
{
    m_next = 0;
    return moveToNext();
}

bool SpellingDialog::moveToNext()
{
    QTextDocument* document = m_edit.document();
    for (QTextBlock block = document->findBlock(m_next); block.isValid(); block = block.next()) {
        const QString text = block.text();
        auto matches = wordPattern().globalMatch(text);
        while (matches.hasNext()) {
            const auto match = matches.next();
            const int start = block.position() + int(match.capturedStart());
            if (start < m_next)
                continue;
            const QString word = match.captured();
            if (m_ignored.contains(word) || m_dictionaries.isCorrect(word))
                continue;
            QTextCursor cursor(document);
            cursor.setPosition(start);
            cursor.setPosition(start + int(word.size()), QTextCursor::KeepAnchor);
            m_edit.setTextCursor(cursor);
            m_edit.ensureCursorVisible();
            m_word = word;
            m_suggestions = m_dictionaries.suggestions(word);
            m_wordField->setText(word);
            m_list->clear();
            m_list->addItems(m_suggestions);
            m_replacement->setText(m_suggestions.value(0, word));
            if (!m_suggestions.isEmpty())
                m_list->setCurrentRow(0);
            m_next = start + int(word.size());
            return true;
        }
    }
    return false;
}

void SpellingDialog::goOn()
{
    if (moveToNext())
        return;
    showMessage(this, QStringLiteral("맞춤법 검사를 마쳤습니다."));
    accept();
}

void SpellingDialog::change()
{
    const QString replacement = m_replacement->text();
    QTextCursor cursor = m_edit.textCursor();
    if (cursor.selectedText() == m_word) {
        cursor.insertText(replacement);
        m_next = cursor.position();
        ++m_changed;
    }
    goOn();
}

void SpellingDialog::changeAll()
{
    const QString replacement = m_replacement->text();
    FindOptions options;
    options.matchCase = true;
    options.wholeWord = true;
    // The walk goes on after this word wherever the earlier replacements moved it.
    QTextCursor at = m_edit.textCursor();
    at.setPosition(at.selectionStart());
    at.setKeepPositionOnInsert(true);
    m_changed += replaceAll(m_edit, m_word, replacement, options);
    m_next = at.position() + int(replacement.size());
    m_ignored.insert(m_word); // a replacement that is itself the word is not asked again
    goOn();
}

void SpellingDialog::ignore()
{
    m_ignored.insert(m_word);
    goOn();
}

void SpellingDialog::addWord()
{
    if (!m_dictionaries.addToUserDictionary(m_word))
        showMessage(this, QStringLiteral("사용자 사전에 낱말을 추가하지 못했습니다.\n%1")
                              .arg(SpellDictionaries::userDictionaryPath()));
    m_ignored.insert(m_word);
    goOn();
}

} // namespace tdx
