#pragma once

#include <QString>
#include <QStringList>

// The text of one INI file with the lookup and update rules of the Windows
// private-profile functions, kept as the file's own lines so that comments,
// blank lines, unknown keys and lines we do not understand survive an update
// unchanged.
//
// Rules:
// - "[name]" (first non-blank character "[", name up to the last "]") starts a
//   section; a line whose first non-blank character is ";" is a comment; any
//   other line with "=" is a key, split at the first "="; everything else is
//   kept as plain text. Lines before the first section belong to no section.
// - Section and key names compare case-blind; spaces and tabs around names and
//   values are ignored, and a value enclosed in a matching pair of double or
//   single quotes loses them.
// - Reads and updates use the first section of a name and, within it, the
//   first key of a name. A new key goes to the end of its section (before the
//   blank lines that close it); a new section goes to the end of the text.
class IniDocument {
public:
    IniDocument() = default;

    // Accepts any text and any line break; never fails.
    static IniDocument parse(const QString &text);
    // Every line followed by CR LF.
    QString serialize() const;
    const QStringList &lines() const { return m_lines; }

    bool hasSection(const QString &section) const;
    bool hasKey(const QString &section, const QString &key) const;
    QString value(const QString &section, const QString &key,
                  const QString &defaultValue = QString()) const;
    // Keys of the first section of that name, in file order, each name once.
    QStringList keys(const QString &section) const;

    // Whether setValue can store this triple so that it reads back unchanged:
    // names not empty, no line breaks anywhere, no "=" in the key, and a key
    // that does not start like a section header or a comment.
    static bool canStore(const QString &section, const QString &key, const QString &value);

    // Returns false (and changes nothing) when canStore() says no. Values that
    // would lose spaces or quotes on reading are written inside double quotes.
    bool setValue(const QString &section, const QString &key, const QString &value);
    // Removes every line of the key in every section of that name, so that the
    // key is really gone. Returns whether anything was removed.
    bool removeKey(const QString &section, const QString &key);
    // Removes every section of that name with all its lines.
    bool removeSection(const QString &section);

private:
    QStringList m_lines;
};
