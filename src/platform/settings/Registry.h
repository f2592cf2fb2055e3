#pragma once
#include <QString>

#include <optional>

// The program's settings, kept where the original kept its registry key:
// an INI file with one group per key ("SchoolInfo", "Communication",
// "RecvFile", "Ftp"). Its path is $ZQ_REGISTRY, else
// $XDG_CONFIG_HOME/TORVA/ZQSchool.ini; the file is private to its owner.
//
// Each call opens, reads and (for writes) saves the file, as the original
// opened its registry key for one operation.
class Registry {
public:
    static QString path();

    static bool keyExists(const QString& key);
    static bool valueExists(const QString& key, const QString& name);
    // Missing values read as empty text.
    static QString readString(const QString& key, const QString& name);
    // A missing or non-integer value is a failed read.
    static std::optional<int> readInteger(const QString& key, const QString& name);
    static bool writeString(const QString& key, const QString& name, const QString& value);
    static bool writeInteger(const QString& key, const QString& name, int value);
    // Writes the value only when it is missing; true when it was written.
    static bool writeDefault(const QString& key, const QString& name, const QString& value);
    static bool deleteValue(const QString& key, const QString& name);
};
