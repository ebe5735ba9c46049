#pragma once
// The registry: two hives of keys and text values, each kept in a file under the platform
// root. Key paths use "\" between key names; key and value names match case-insensitively
// and keep the case they were created with. Every call sets the last error (0 on success,
// ErrorFileNotFound for a missing key or value).
#include <QString>
#include <QStringList>

namespace platform {

enum class RegistryHive { LocalMachine, CurrentUser };

class Registry {
public:
    // The file that holds a hive.
    static QString hiveFile(RegistryHive hive);

    static bool keyExists(RegistryHive hive, const QString& key);
    // Creates the key and any missing parent; an existing key is fine.
    static bool createKey(RegistryHive hive, const QString& key);
    // Deletes the key with its values and subkeys.
    static bool deleteKey(RegistryHive hive, const QString& key);

    static bool readText(RegistryHive hive, const QString& key, const QString& name, QString* text);
    // Creates the key when needed; replaces an existing value.
    static bool writeText(RegistryHive hive, const QString& key, const QString& name, const QString& text);
    static bool deleteValue(RegistryHive hive, const QString& key, const QString& name);

    static bool subKeys(RegistryHive hive, const QString& key, QStringList* names);
    static bool valueNames(RegistryHive hive, const QString& key, QStringList* names);
};

} // namespace platform
