#pragma once
// What the installed dictionaries know of one word: whether it is spelt right, the
// suggestions, and its stems where the dictionary gives them.
#include <QDialog>
#include <QStringList>

namespace tdx {

class SpellDictionaries;

class DictionaryDialog : public QDialog {
    Q_OBJECT
    Q_PROPERTY(QString word READ word)
    Q_PROPERTY(bool correct READ correct)
    Q_PROPERTY(QStringList suggestions READ suggestions)
    Q_PROPERTY(QStringList stems READ stems)

public:
    DictionaryDialog(QWidget* parent, const QString& word, SpellDictionaries& dictionaries);

    QString word() const { return m_word; }
    bool correct() const { return m_correct; }
    QStringList suggestions() const { return m_suggestions; }
    QStringList stems() const { return m_stems; }

private:
    QString m_word;
    bool m_correct;
    QStringList m_suggestions;
    QStringList m_stems;
};

} // namespace tdx
