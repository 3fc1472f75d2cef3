#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

class IniDocument;

// One value to store: section, key and the text of the value.
struct IniValue {
    QString section;
    QString key;
    QString value;
};

// One INI file on disk, used the way the Windows private-profile functions
// use one: every read looks at the file as it is now (another process may
// have changed it), every write reads the file, changes one value and
// replaces the whole file atomically. A missing file or key gives the
// caller's default; the first write creates the file and its folder.
//
// The file is read as UTF-8 or CP932 with any line break and written with
// CR LF in CP932, or in UTF-8 when CP932 cannot hold its text or the file
// already was UTF-8. See IniDocument for the rules of names and values.
class IniFile {
public:
    explicit IniFile(const QString &path);

    QString path() const { return m_path; }
    bool exists() const;

    QString readString(const QString &section, const QString &key,
                       const QString &defaultValue) const;
    // Decimal, or hexadecimal with "$" or "0x"; defaultValue when the text is
    // not a whole 32-bit number.
    int readInt(const QString &section, const QString &key, int defaultValue) const;
    // A number other than 0 is true; text that is not a number gives defaultValue.
    bool readBool(const QString &section, const QString &key, bool defaultValue) const;
    bool hasKey(const QString &section, const QString &key) const;
    bool hasSection(const QString &section) const;
    QStringList keys(const QString &section) const;

    // Writes return false with errorString() set when the file cannot be read
    // or written, or when the value cannot be stored on one line; the file on
    // disk is then unchanged.
    bool writeString(const QString &section, const QString &key, const QString &value);
    bool writeInt(const QString &section, const QString &key, int value);
    bool writeBool(const QString &section, const QString &key, bool value);  // "1" / "0"
    // Stores all the values in one replacement of the file, in their order,
    // so the file on disk holds either none of them or all of them. When one
    // of them cannot be stored nothing is written.
    bool writeStrings(const QVector<IniValue> &values);
    bool removeKey(const QString &section, const QString &key);
    bool removeSection(const QString &section);

    // The message of the last failed operation, in Japanese; empty after a success.
    QString errorString() const { return m_error; }

private:
    bool load(IniDocument *doc, QByteArray *bytes) const;
    bool save(const IniDocument &doc, const QByteArray &oldBytes);

    QString m_path;
    mutable QString m_error;
};
