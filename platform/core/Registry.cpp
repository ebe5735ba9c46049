#include "platform/core/Registry.h"

#include "platform/core/KnownFolders.h"
#include "platform/core/LastError.h"
#include "platform/core/StateFile.h"

#include <QJsonObject>

namespace platform {

// A hive document is a tree of key objects: {"name", "values": {folded: {"name", "text"}},
// "keys": {folded: key}}, where "folded" is the case-folded name used for matching.
namespace {

const QString kName = QStringLiteral("name");
const QString kText = QStringLiteral("text");
const QString kValues = QStringLiteral("values");
const QString kKeys = QStringLiteral("keys");

QString folded(const QString& name) { return name.toCaseFolded(); }

QStringList keyNames(const QString& key)
{
    return key.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
}

// Walks to a key; null when a part is missing.
const QJsonObject* findKey(const QJsonObject& root, const QStringList& path, QJsonObject* storage)
{
    *storage = root;
    for (const QString& part : path) {
        const QJsonValue next = storage->value(kKeys).toObject().value(folded(part));
        if (!next.isObject())
            return nullptr;
        *storage = next.toObject();
    }
    return storage;
}

// Applies `edit` to the key at `path` inside `node`, creating missing keys when `create`.
bool editKey(QJsonObject& node, const QStringList& path, qsizetype depth, bool create,
             const std::function<bool(QJsonObject&)>& edit)
{
    if (depth == path.size())
        return edit(node);
    QJsonObject keys = node.value(kKeys).toObject();
    const QString id = folded(path[depth]);
    QJsonObject child;
    if (keys.contains(id)) {
        child = keys.value(id).toObject();
    } else if (create) {
        child.insert(kName, path[depth]);
    } else {
        SetLastError(ErrorFileNotFound);
        return false;
    }
    if (!editKey(child, path, depth + 1, create, edit))
        return false;
    keys.insert(id, child);
    node.insert(kKeys, keys);
    return true;
}

bool readHive(RegistryHive hive, QJsonObject* document)
{
    return StateFile(Registry::hiveFile(hive)).read(document);
}

bool changeKey(RegistryHive hive, const QString& key, bool create,
               const std::function<bool(QJsonObject&)>& edit)
{
    const bool done = StateFile(Registry::hiveFile(hive)).update([&](QJsonObject& root) {
        return editKey(root, keyNames(key), 0, create, edit);
    });
    if (done)
        SetLastError(ErrorSuccess);
    return done;
}

bool listNames(RegistryHive hive, const QString& key, const QString& section, QStringList* names)
{
    QJsonObject root;
    QJsonObject storage;
    if (!readHive(hive, &root))
        return false;
    const QJsonObject* node = findKey(root, keyNames(key), &storage);
    if (!node) {
        SetLastError(ErrorFileNotFound);
        return false;
    }
    names->clear();
    const QJsonObject entries = node->value(section).toObject();
    for (auto it = entries.begin(); it != entries.end(); ++it)
        names->append(it->toObject().value(kName).toString());
    SetLastError(ErrorSuccess);
    return true;
}

} // namespace

QString Registry::hiveFile(RegistryHive hive)
{
    const QString file = hive == RegistryHive::LocalMachine ? QStringLiteral("HKEY_LOCAL_MACHINE.json")
                                                            : QStringLiteral("HKEY_CURRENT_USER.json");
    return PlatformRoot() + QStringLiteral("/registry/") + file;
}

bool Registry::keyExists(RegistryHive hive, const QString& key)
{
    QJsonObject root;
    QJsonObject storage;
    if (!readHive(hive, &root))
        return false;
    if (!findKey(root, keyNames(key), &storage)) {
        SetLastError(ErrorFileNotFound);
        return false;
    }
    SetLastError(ErrorSuccess);
    return true;
}

bool Registry::createKey(RegistryHive hive, const QString& key)
{
    return changeKey(hive, key, true, [](QJsonObject&) { return true; });
}

bool Registry::deleteKey(RegistryHive hive, const QString& key)
{
    QStringList path = keyNames(key);
    if (path.isEmpty()) {
        SetLastError(ErrorAccessDenied); // a hive's root cannot be deleted
        return false;
    }
    const QString last = path.takeLast();
    return changeKey(hive, path.join(QLatin1Char('\\')), false, [&](QJsonObject& parent) {
        QJsonObject keys = parent.value(kKeys).toObject();
        if (!keys.contains(folded(last))) {
            SetLastError(ErrorFileNotFound);
            return false;
        }
        keys.remove(folded(last));
        parent.insert(kKeys, keys);
        return true;
    });
}

bool Registry::readText(RegistryHive hive, const QString& key, const QString& name, QString* text)
{
    QJsonObject root;
    QJsonObject storage;
    if (!readHive(hive, &root))
        return false;
    const QJsonObject* node = findKey(root, keyNames(key), &storage);
    const QJsonValue value = node ? node->value(kValues).toObject().value(folded(name)) : QJsonValue();
    if (!value.isObject()) {
        SetLastError(ErrorFileNotFound);
        return false;
    }
    *text = value.toObject().value(kText).toString();
    SetLastError(ErrorSuccess);
    return true;
}

bool Registry::writeText(RegistryHive hive, const QString& key, const QString& name, const QString& text)
{
    return changeKey(hive, key, true, [&](QJsonObject& node) {
        QJsonObject values = node.value(kValues).toObject();
        QJsonObject value = values.value(folded(name)).toObject();
        if (!value.contains(kName))
            value.insert(kName, name);
        value.insert(kText, text);
        values.insert(folded(name), value);
        node.insert(kValues, values);
        return true;
    });
}

bool Registry::deleteValue(RegistryHive hive, const QString& key, const QString& name)
{
    return changeKey(hive, key, false, [&](QJsonObject& node) {
        QJsonObject values = node.value(kValues).toObject();
        if (!values.contains(folded(name))) {
            SetLastError(ErrorFileNotFound);
            return false;
        }
        values.remove(folded(name));
        node.insert(kValues, values);
        return true;
    });
}

bool Registry::subKeys(RegistryHive hive, const QString& key, QStringList* names)
{
    return listNames(hive, key, kKeys, names);
}

bool Registry::valueNames(RegistryHive hive, const QString& key, QStringList* names)
{
    return listNames(hive, key, kValues, names);
}

} // namespace platform
