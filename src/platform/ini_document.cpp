#include "ini_document.h"

#include "text_codec.h"

namespace {

// Only spaces and tabs surround names and values; a full-width space at the
// end of a Japanese value is part of the value.
bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

QString trimBlank(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text.at(begin))) ++begin;
    while (end > begin && isBlank(text.at(end - 1))) --end;
    return text.mid(begin, end - begin);
}

bool isQuote(QChar c)
{
    return c == u'"' || c == u'\'';
}

bool hasLineBreak(const QString &text)
{
    return text.contains(u'\r') || text.contains(u'\n');
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

struct Line {
    enum Kind { Text, Blank, Comment, Section, Key };
    Kind kind = Text;
    QString name;   // section or key name, trimmed
    QString value;  // key value as written after "=", untrimmed
};

Line classify(const QString &text)
{
    Line line;
    const QString trimmed = trimBlank(text);
    if (trimmed.isEmpty()) {
        line.kind = Line::Blank;
    } else if (trimmed.front() == u';') {
        line.kind = Line::Comment;
    } else if (trimmed.front() == u'[' && trimmed.lastIndexOf(u']') > 0) {
        line.kind = Line::Section;
        line.name = trimBlank(trimmed.mid(1, trimmed.lastIndexOf(u']') - 1));
    } else if (const qsizetype eq = text.indexOf(u'='); eq >= 0) {
        line.kind = Line::Key;
        line.name = trimBlank(text.left(eq));
        line.value = text.mid(eq + 1);
    }
    return line;
}

QString readValue(const QString &raw)
{
    const QString value = trimBlank(raw);
    if (value.size() >= 2 && isQuote(value.front()) && value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

// The form of a value on disk that readValue() turns back into the value.
QString writtenValue(const QString &value)
{
    if (value.isEmpty()) return value;
    const bool loses =
        isBlank(value.front()) || isBlank(value.back()) ||
        (value.size() >= 2 && isQuote(value.front()) && value.back() == value.front());
    return loses ? u'"' + value + u'"' : value;
}

}  // namespace

IniDocument IniDocument::parse(const QString &text)
{
    IniDocument doc;
    doc.m_lines = TextCodec::splitLines(text);
    return doc;
}

QString IniDocument::serialize() const
{
    return TextCodec::joinCrLf(m_lines);
}

namespace {

// Index of the first header of the section, or -1.
qsizetype findSection(const QStringList &lines, const QString &section, qsizetype from = 0)
{
    // A nameless section ("[]") and a nameless key ("=x") are never found.
    if (section.isEmpty()) return -1;
    for (qsizetype i = from; i < lines.size(); ++i) {
        const Line line = classify(lines.at(i));
        if (line.kind == Line::Section && sameName(line.name, section)) return i;
    }
    return -1;
}

// Index one past the last line of the section whose header is at `header`.
qsizetype sectionEnd(const QStringList &lines, qsizetype header)
{
    for (qsizetype i = header + 1; i < lines.size(); ++i) {
        if (classify(lines.at(i)).kind == Line::Section) return i;
    }
    return lines.size();
}

qsizetype findKey(const QStringList &lines, qsizetype header, const QString &key)
{
    if (header < 0 || key.isEmpty()) return -1;
    const qsizetype end = sectionEnd(lines, header);
    for (qsizetype i = header + 1; i < end; ++i) {
        const Line line = classify(lines.at(i));
        if (line.kind == Line::Key && sameName(line.name, key)) return i;
    }
    return -1;
}

}  // namespace

bool IniDocument::hasSection(const QString &section) const
{
    return findSection(m_lines, trimBlank(section)) >= 0;
}

bool IniDocument::hasKey(const QString &section, const QString &key) const
{
    return findKey(m_lines, findSection(m_lines, trimBlank(section)), trimBlank(key)) >= 0;
}

QString IniDocument::value(const QString &section, const QString &key,
                           const QString &defaultValue) const
{
    const qsizetype at = findKey(m_lines, findSection(m_lines, trimBlank(section)), trimBlank(key));
    return at < 0 ? defaultValue : readValue(classify(m_lines.at(at)).value);
}

QStringList IniDocument::keys(const QString &section) const
{
    QStringList names;
    const qsizetype header = findSection(m_lines, trimBlank(section));
    if (header < 0) return names;
    const qsizetype end = sectionEnd(m_lines, header);
    for (qsizetype i = header + 1; i < end; ++i) {
        const Line line = classify(m_lines.at(i));
        if (line.kind == Line::Key && !line.name.isEmpty() &&
            !names.contains(line.name, Qt::CaseInsensitive))
            names.append(line.name);
    }
    return names;
}

bool IniDocument::canStore(const QString &section, const QString &key, const QString &value)
{
    const QString s = trimBlank(section);
    const QString k = trimBlank(key);
    return !s.isEmpty() && !hasLineBreak(s) && !k.isEmpty() && !hasLineBreak(k) &&
           !k.contains(u'=') && k.front() != u'[' && k.front() != u';' && !hasLineBreak(value);
}

bool IniDocument::setValue(const QString &section, const QString &key, const QString &value)
{
    if (!canStore(section, key, value)) return false;
    const QString s = trimBlank(section);
    const QString k = trimBlank(key);

    const qsizetype header = findSection(m_lines, s);
    if (header < 0) {
        m_lines << u'[' + s + u']' << k + u'=' + writtenValue(value);
        return true;
    }
    const qsizetype at = findKey(m_lines, header, k);
    if (at >= 0) {
        // The key keeps the spelling it has in the file.
        m_lines[at] = classify(m_lines.at(at)).name + u'=' + writtenValue(value);
        return true;
    }
    qsizetype insertAt = sectionEnd(m_lines, header);
    while (insertAt > header + 1 && classify(m_lines.at(insertAt - 1)).kind == Line::Blank)
        --insertAt;
    m_lines.insert(insertAt, k + u'=' + writtenValue(value));
    return true;
}

bool IniDocument::removeKey(const QString &section, const QString &key)
{
    const QString s = trimBlank(section);
    const QString k = trimBlank(key);
    bool removed = false;
    for (qsizetype header = findSection(m_lines, s); header >= 0;
         header = findSection(m_lines, s, header + 1)) {
        for (qsizetype at = findKey(m_lines, header, k); at >= 0;
             at = findKey(m_lines, header, k)) {
            m_lines.removeAt(at);
            removed = true;
        }
    }
    return removed;
}

bool IniDocument::removeSection(const QString &section)
{
    const QString s = trimBlank(section);
    bool removed = false;
    for (qsizetype header = findSection(m_lines, s); header >= 0;
         header = findSection(m_lines, s, header)) {
        m_lines.erase(m_lines.begin() + header, m_lines.begin() + sectionEnd(m_lines, header));
        removed = true;
    }
    return removed;
}
