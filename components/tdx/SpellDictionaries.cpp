#include "components/tdx/SpellDictionaries.h"

#include <hunspell.hxx>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QStringEncoder>

namespace tdx {

namespace {

enum Language { Korean = 0, English = 1 };

const char* const kFileNames[2][2] = {{"ko_KR", "ko"}, {"en_US", "en"}};
const char* const kLanguageNames[2] = {"ko", "en_US"};

bool isHangul(QChar c)
{
    const ushort u = c.unicode();
    return (u >= 0xAC00 && u <= 0xD7A3) || (u >= 0x1100 && u <= 0x11FF) || (u >= 0x3130 && u <= 0x318F);
}

int languageOf(const QString& word)
{
    for (QChar c : word)
        if (isHangul(c))
            return Korean;
    return English;
}

QString searchPath()
{
    const QByteArray set = qgetenv("DICPATH");
    return set.isNull() ? QStringLiteral("/usr/share/hunspell") : QString::fromLocal8Bit(set);
}

// Words go to a dictionary in its own encoding (the SET line of its .aff file).
std::string encoded(const Hunspell& dictionary, const QString& word)
{
    const std::string& encoding = dictionary.get_dict_encoding();
    QStringEncoder encoder(encoding.c_str());
    if (encoding == "UTF-8" || !encoder.isValid())
        return word.toStdString();
    const QByteArray bytes = encoder.encode(word);
    return bytes.toStdString();
}

QStringList decoded(const Hunspell& dictionary, const std::vector<std::string>& words)
{
    const std::string& encoding = dictionary.get_dict_encoding();
    QStringDecoder decoder(encoding.c_str());
    const bool utf8 = encoding == "UTF-8" || !decoder.isValid();
    QStringList list;
    for (const std::string& word : words)
        list.append(utf8 ? QString::fromStdString(word) : decoder.decode(QByteArray::fromStdString(word)));
    list.removeDuplicates();
    return list;
}

QStringList userWords()
{
    QFile file(SpellDictionaries::userDictionaryPath());
    QStringList words;
    if (file.open(QIODevice::ReadOnly))
        for (const QByteArray& line : file.readAll().split('\n'))
            if (!line.trimmed().isEmpty())
                words.append(QString::fromUtf8(line.trimmed()));
    return words;
}

} // namespace

SpellDictionaries& SpellDictionaries::shared()
{
    static SpellDictionaries dictionaries;
    dictionaries.reloadIfMoved();
    return dictionaries;
}

SpellDictionaries::~SpellDictionaries() = default;

QString SpellDictionaries::userDictionaryPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/tdx/user.dic");
}

// Another search path (a test, a changed environment) means other dictionaries.
void SpellDictionaries::reloadIfMoved()
{
    const QString path = searchPath();
    if (path == m_searchPath)
        return;
    m_searchPath = path;
    for (std::unique_ptr<Hunspell>& loaded : m_loaded)
        loaded.reset();
}

Hunspell* SpellDictionaries::load(int language)
{
    // A dictionary not found is looked for again next time: it may be installed meanwhile.
    if (m_loaded[language])
        return m_loaded[language].get();
    for (const QString& folder : m_searchPath.split(':', Qt::SkipEmptyParts)) {
        for (const char* name : kFileNames[language]) {
            const QString base = QDir(folder).filePath(QLatin1String(name));
            if (!QFileInfo(base + ".aff").isFile() || !QFileInfo(base + ".dic").isFile())
                continue;
            m_loaded[language] = std::make_unique<Hunspell>(QFile::encodeName(base + ".aff").constData(),
                                                            QFile::encodeName(base + ".dic").constData());
            for (const QString& word : userWords())
                if (languageOf(word) == language)
                    m_loaded[language]->add(encoded(*m_loaded[language], word));
            return m_loaded[language].get();
        }
    }
    return nullptr;
}

Hunspell* SpellDictionaries::dictionaryFor(const QString& word)
{
    return load(languageOf(word));
}

QStringList SpellDictionaries::missingFor(const QString& text)
{
    bool needed[2] = {false, false};
    for (QChar c : text) {
        if (isHangul(c))
            needed[Korean] = true;
        else if (c.isLetter())
            needed[English] = true;
    }
    QStringList missing;
    for (int i = 0; i < 2; ++i)
        if (needed[i] && !load(i))
            missing.append(QLatin1String(kLanguageNames[i]));
    return missing;
}

bool SpellDictionaries::hasAny()
{
    return load(Korean) || load(English);
}

bool SpellDictionaries::isCorrect(const QString& word)
{
    Hunspell* dictionary = dictionaryFor(word);
    return !dictionary || dictionary->spell(encoded(*dictionary, word));
}

QStringList SpellDictionaries::suggestions(const QString& word)
{
    Hunspell* dictionary = dictionaryFor(word);
    return dictionary ? decoded(*dictionary, dictionary->suggest(encoded(*dictionary, word))) : QStringList();
}

QStringList SpellDictionaries::stems(const QString& word)
{
    Hunspell* dictionary = dictionaryFor(word);
    return dictionary ? decoded(*dictionary, dictionary->stem(encoded(*dictionary, word))) : QStringList();
}

bool SpellDictionaries::addToUserDictionary(const QString& word)
{
    const QString trimmed = word.trimmed();
    if (trimmed.isEmpty() || trimmed.contains('\n'))
        return false;
    QStringList words = userWords();
    if (!words.contains(trimmed)) {
        words.append(trimmed);
        const QString path = userDictionaryPath();
        if (!QDir().mkpath(QFileInfo(path).absolutePath()))
            return false;
        QSaveFile file(path);
        const QByteArray data = words.join('\n').toUtf8() + '\n';
        if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit())
            return false;
    }
    if (Hunspell* dictionary = dictionaryFor(trimmed))
        dictionary->add(encoded(*dictionary, trimmed));
    return true;
}

} // namespace tdx
