#pragma once

#include <QString>
#include <QVector>

// The few registry keys the program writes, kept in an INI file in the
// program folder ("Registry.ini"): one section per key, named by its full
// path with the hive ("HKEY_CURRENT_USER\Software\..."), one line per value.
// The unnamed (default) value is "@", 32-bit numbers are written
// "dword:0000001a", as in a .reg file, so the file can be read and edited by
// hand. Key and value names compare case-blind, as the registry's do. Every
// change replaces the file atomically; other sections and lines stay as they
// were.
class RegistryStore {
public:
    // The store of the program folder.
    RegistryStore();
    explicit RegistryStore(const QString &path);

    QString path() const { return m_path; }

    bool keyExists(const QString &key) const;
    // Creates the key when it is missing; false when the file cannot be
    // written or the name cannot be a key.
    bool createKey(const QString &key);
    // Removes the key with its values and every key below it. Removing a
    // missing key succeeds.
    bool deleteKey(const QString &key);

    // False when the key or the value is missing, or the value is no string.
    bool readString(const QString &key, const QString &name, QString *value) const;
    // False when the key or the value is missing, or the value is no number.
    bool readDword(const QString &key, const QString &name, quint32 *value) const;

    struct Value {
        QString name;  // empty: the unnamed value
        QString text;  // as stored: a string, or "dword:" and eight hex digits
    };
    static Value stringValue(const QString &name, const QString &text);
    static Value dwordValue(const QString &name, quint32 number);
    // Sets the values of an existing or new key in one replacement of the file.
    bool setValues(const QString &key, const QVector<Value> &values);

    // The message of the last failed change, in Japanese.
    QString errorString() const { return m_error; }

    // Reads a stored value text as a number ("dword:" and 1 to 8 hex digits).
    static bool parseDword(const QString &text, quint32 *value);

private:
    QString m_path;
    QString m_error;
};
