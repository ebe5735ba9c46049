#pragma once
// The installed Hunspell dictionaries the control checks words against: Korean for words
// in Hangul, US English for the rest, with the user's own words on top. Dictionaries are
// looked for in $DICPATH (folders separated by ':') when it is set, else in
// /usr/share/hunspell; the user's words live in the user's data folder (tdx/user.dic).
#include <QString>
#include <QStringList>

#include <memory>

class Hunspell;

namespace tdx {

class SpellDictionaries {
public:
    // The dictionaries of this process, loaded on first use (the Korean one takes a moment).
    static SpellDictionaries& shared();
    ~SpellDictionaries();

    // The dictionaries a text needs that are not installed ("ko", "en_US"); empty when all are.
    QStringList missingFor(const QString& text);
    bool hasAny();
    // Words of a language without a dictionary count as correct.
    bool isCorrect(const QString& word);
    QStringList suggestions(const QString& word);
    QStringList stems(const QString& word);
    // Kept in the user's dictionary file for later runs too.
    bool addToUserDictionary(const QString& word);

    static QString userDictionaryPath();

private:
    SpellDictionaries() = default;
    Hunspell* dictionaryFor(const QString& word);
    Hunspell* load(int language);
    void reloadIfMoved();

    std::unique_ptr<Hunspell> m_loaded[2];
    QString m_searchPath;
};

} // namespace tdx
