#pragma once
// Walks the misspelt words of the text from its start, one at a time, with the
// dictionaries' suggestions: change it, change all of it, ignore it or add it to the
// user's dictionary.
#include <QDialog>
#include <QSet>
#include <QStringList>

class QLineEdit;
class QListWidget;
class QTextEdit;

namespace tdx {

class SpellDictionaries;

class SpellingDialog : public QDialog {
    Q_OBJECT
    Q_PROPERTY(QString word READ word)
    Q_PROPERTY(QStringList suggestions READ suggestions)

public:
    SpellingDialog(QTextEdit& edit, SpellDictionaries& dictionaries);

    // Selects the first misspelt word; false when there is none.
    bool start();
    QString word() const { return m_word; }
    QStringList suggestions() const { return m_suggestions; }
    int changed() const { return m_changed; }

private:
    bool moveToNext();
    void goOn();
    void change();
    void changeAll();
    void ignore();
    void addWord();

    QTextEdit& m_edit;
    SpellDictionaries& m_dictionaries;
    QLineEdit* m_wordField;
    QListWidget* m_list;
    QLineEdit* m_replacement;
    QString m_word;
    QStringList m_suggestions;
    QSet<QString> m_ignored;
    int m_next = 0;     // where the walk goes on
    int m_changed = 0;
};

} // namespace tdx
