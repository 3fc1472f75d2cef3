#include "html/html_document_parser.h"

#include <algorithm>
#include <cstring>

#include "html/html_entities.h"

namespace {

// Upper case for ASCII letters only, so names of other scripts stay as written.
QString asciiUpper(const QString &text)
{
    QString upper = text;
    for (QChar &c : upper) {
        if (c >= u'a' && c <= u'z') c = QChar(c.unicode() - 32);
    }
    return upper;
}

bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool isAsciiAlnum(QChar c)
{
    return isAsciiLetter(c) || (c >= u'0' && c <= u'9');
}

bool isTagSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}

constexpr qsizetype kLongestName = 32;        // "CounterClockwiseContourIntegral;"
constexpr qsizetype kLongestLegacyName = 6;   // "middot", "frac34" and the like

const HtmlEntity *findEntity(const char *name)
{
    const HtmlEntity *end = htmlEntitiesEnd();
    const HtmlEntity *found = std::lower_bound(
        htmlEntitiesBegin(), end, name,
        [](const HtmlEntity &entity, const char *key) { return std::strcmp(entity.name, key) < 0; });
    return found != end && std::strcmp(found->name, name) == 0 ? found : nullptr;
}

void appendCodePoint(QString *out, char32_t code)
{
    if (code == 0) return;
    const char32_t one[] = {code};
    *out += QString::fromUcs4(one, 1);
}

// The code points 128 to 159 as windows-1252 reads them, for numeric references.
constexpr char16_t kWindows1252[32] = {
    0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x8D,   0x017D, 0x8F,   0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};

char32_t numericCharacter(char32_t code)
{
    if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0xFFFD;
    if (code >= 0x80 && code <= 0x9F) return kWindows1252[code - 0x80];
    if (code < 0x20 || code == 0x7F) return u' ';  // controls read as a space
    return code;
}

// The reference at text[i] ("&" there): appends what it stands for and
// returns the index after it, or -1 when it is no reference.
qsizetype decodeOne(const QString &text, qsizetype i, bool inAttribute, QString *out)
{
    const qsizetype n = text.size();
    qsizetype j = i + 1;
    if (j < n && text.at(j) == u'#') {
        ++j;
        const bool hex = j < n && (text.at(j) == u'x' || text.at(j) == u'X');
        if (hex) ++j;
        const qsizetype digitsStart = j;
        char32_t code = 0;
        for (; j < n; ++j) {
            const QChar c = text.at(j);
            int digit = -1;
            if (c >= u'0' && c <= u'9') digit = c.unicode() - u'0';
            else if (hex && c >= u'a' && c <= u'f') digit = c.unicode() - u'a' + 10;
            else if (hex && c >= u'A' && c <= u'F') digit = c.unicode() - u'A' + 10;
            if (digit < 0) break;
            code = std::min<char32_t>(code * (hex ? 16 : 10) + char32_t(digit), 0x110000);
        }
        if (j == digitsStart) return -1;
        if (j < n && text.at(j) == u';') ++j;
        appendCodePoint(out, numericCharacter(code));
        return j;
    }

    // The name: letters and digits, then perhaps ";".
    char name[kLongestName + 2];
    qsizetype length = 0;
    while (j < n && length < kLongestName && isAsciiAlnum(text.at(j))) name[length++] = char(text.at(j++).unicode());
    if (length == 0) return -1;
    if (j < n && text.at(j) == u';') {
        name[length] = ';';
        name[length + 1] = '\0';
        if (const HtmlEntity *entity = findEntity(name)) {
            appendCodePoint(out, entity->first);
            appendCodePoint(out, entity->second);
            return j + 1;
        }
    }
    // The longest legacy name at the start, as browsers read "&copy2009".
    for (qsizetype k = std::min(length, kLongestLegacyName); k >= 2; --k) {
        name[k] = '\0';
        const HtmlEntity *entity = findEntity(name);
        if (!entity) continue;
        const qsizetype after = i + 1 + k;
        if (inAttribute && after < n && (isAsciiAlnum(text.at(after)) || text.at(after) == u'=')) return -1;
        appendCodePoint(out, entity->first);
        appendCodePoint(out, entity->second);
        return after;
    }
    return -1;
}

// Splits the text of a tag after its name into attributes: a name up to
// whitespace, "=", "/" or the end; then, after "=", a value in double or
// single quotes or up to whitespace.
QList<THTMLParam> splitParams(const QString &rest)
{
    QList<THTMLParam> params;
    const qsizetype n = rest.size();
    qsizetype i = 0;
    while (i < n) {
        while (i < n && (isTagSpace(rest.at(i)) || rest.at(i) == u'/')) ++i;
        if (i >= n) break;
        const qsizetype start = i;
        ++i;  // a name may start with "="
        while (i < n && !isTagSpace(rest.at(i)) && rest.at(i) != u'=' && rest.at(i) != u'/') ++i;
        const QString name = rest.mid(start, i - start);
        qsizetype k = i;
        while (k < n && isTagSpace(rest.at(k))) ++k;
        QString value;
        if (k < n && rest.at(k) == u'=') {
            ++k;
            while (k < n && isTagSpace(rest.at(k))) ++k;
            if (k < n && (rest.at(k) == u'"' || rest.at(k) == u'\'')) {
                const QChar quote = rest.at(k);
                qsizetype close = rest.indexOf(quote, k + 1);
                if (close < 0) close = n;
                value = rest.mid(k + 1, close - k - 1);
                i = std::min(close + 1, n);
            } else {
                const qsizetype valueStart = k;
                while (k < n && !isTagSpace(rest.at(k))) ++k;
                value = rest.mid(valueStart, k - valueStart);
                i = k;
            }
        }
        params.append(THTMLParam(rest.mid(start, i - start), asciiUpper(name),
                                 decodeHtmlReferences(value, true)));
    }
    return params;
}

}  // namespace

THTMLParam::THTMLParam(const QString &raw, const QString &name, const QString &value)
    : m_raw(raw), m_name(name), m_value(value)
{
}

THTMLTag::THTMLTag(const QString &raw, qsizetype line, qsizetype col)
    : m_raw(raw), m_line(line), m_col(col)
{
    if (raw.startsWith(QLatin1String("!--"))) {
        m_name = QStringLiteral("!--");
        return;
    }
    QStringView body(raw);
    if (body.endsWith(u'/') && !body.startsWith(u'!') && !body.startsWith(u'?')) {
        m_selfClosing = true;
        body.chop(1);
    }
    qsizetype end = 0;
    while (end < body.size() && !isTagSpace(body.at(end)) &&
           !(body.at(end) == u'/' && end > 0))
        ++end;
    m_name = body.left(end).toString();
    if (end < body.size()) m_params = splitParams(body.mid(end).toString());
}

THTMLText::THTMLText(const QString &raw, qsizetype line, bool rawText)
    : m_raw(raw), m_line(line), m_rawText(rawText)
{
    m_text = rawText ? raw : decodeHtmlText(raw);
}

QString decodeHtmlReferences(const QString &text, bool inAttribute)
{
    qsizetype amp = text.indexOf(u'&');
    if (amp < 0) return text;
    QString out;
    out.reserve(text.size());
    out += QStringView(text).left(amp);
    qsizetype i = amp;
    while (i < text.size()) {
        const QChar c = text.at(i);
        const qsizetype after = c == u'&' ? decodeOne(text, i, inAttribute, &out) : -1;
        if (after < 0) {
            out += c;
            ++i;
        } else {
            i = after;
        }
    }
    return out;
}

QString decodeHtmlText(const QString &raw)
{
    const QString decoded = decodeHtmlReferences(raw);
    QString folded(decoded.size(), Qt::Uninitialized);
    QChar *out = folded.data();
    qsizetype length = 0;
    bool space = false;
    for (const QChar c : decoded) {
        if (isHtmlSpace(c)) {
            if (!space) out[length++] = u' ';
            space = true;
        } else {
            out[length++] = c;
            space = false;
        }
    }
    folded.truncate(length);
    return folded;
}

void THTMLParser::parse()
{
    m_nodes.clear();
    std::vector<std::unique_ptr<THTMLNode>> nodes;
    parse([&nodes](const THTMLNode &node, qsizetype) {
        if (const auto *tag = dynamic_cast<const THTMLTag *>(&node)) {
            nodes.push_back(std::make_unique<THTMLTag>(*tag));
        } else {
            nodes.push_back(std::make_unique<THTMLText>(static_cast<const THTMLText &>(node)));
        }
        return true;
    });
    m_nodes = std::move(nodes);
}

void THTMLParser::parse(const Visitor &visit) const
{
    const QString &s = m_text;
    const qsizetype n = s.size();
    qsizetype index = 0;
    qsizetype line = 1;
    qsizetype lineStart = 0;
    qsizetype i = 0;

    // Moves the position to `to`, counting the line breaks passed.
    const auto advance = [&](qsizetype to) {
        for (; i < to; ++i) {
            const QChar c = s.at(i);
            if (c == u'\n' || (c == u'\r' && !(i + 1 < n && s.at(i + 1) == u'\n'))) {
                ++line;
                lineStart = i + 1;
            }
        }
    };
    const auto lineText = [](QStringView text) {
        QString out = text.toString();
        if (text.contains(u'\r')) {
            out.replace(QLatin1String("\r\n"), QLatin1String("\n"));
            out.replace(u'\r', u'\n');
        }
        return out;
    };
    qsizetype textLine = 1;
    const auto emitText = [&](qsizetype from, qsizetype to, bool rawText) {
        advance(to);
        if (to <= from) return true;
        return visit(THTMLText(lineText(QStringView(s).mid(from, to - from)), textLine, rawText), index++);
    };

    qsizetype textStart = 0;
    while (i < n) {
        const qsizetype lt = s.indexOf(u'<', i);
        if (lt < 0 || lt + 1 >= n) break;
        const QChar next = s.at(lt + 1);
        const bool opens = isAsciiLetter(next) || next == u'!' || next == u'?' ||
                           (next == u'/' && lt + 2 < n && isAsciiLetter(s.at(lt + 2)));
        if (!opens) {
            advance(lt + 1);
            continue;
        }
        if (!emitText(textStart, lt, false)) return;
        advance(lt);
        const qsizetype tagLine = line;
        const qsizetype tagCol = lt - lineStart + 1;

        // The end of the tag: the next ">" outside a quoted value, or "-->"
        // for a comment.
        qsizetype end = -1;
        if (QStringView(s).mid(lt + 1, 3) == QLatin1String("!--")) {
            end = s.indexOf(QLatin1String("-->"), lt + 4);
            if (end >= 0) end += 2;
        } else {
            QChar quote;
            QChar lastSeen;
            for (qsizetype k = lt + 1; k < n; ++k) {
                const QChar c = s.at(k);
                if (!quote.isNull()) {
                    if (c == quote) quote = QChar();
                } else if (c == u'>') {
                    end = k;
                    break;
                } else if ((c == u'"' || c == u'\'') && lastSeen == u'=') {
                    quote = c;
                }
                if (!isTagSpace(c)) lastSeen = c;
            }
        }
        // A tag that the document ends in runs to its end.
        const QString raw = lineText(QStringView(s).mid(lt + 1, (end < 0 ? n : end) - lt - 1));
        advance(end < 0 ? n : end + 1);
        const THTMLTag tag(raw, tagLine, tagCol);
        if (!visit(tag, index++)) return;
        textStart = i;
        textLine = line;

        // The content of script and style is text up to the element's end tag.
        const bool script = tag.name().compare(QLatin1String("script"), Qt::CaseInsensitive) == 0;
        if ((script || tag.name().compare(QLatin1String("style"), Qt::CaseInsensitive) == 0) &&
            !tag.selfClosing()) {
            const QString close = script ? QStringLiteral("</script") : QStringLiteral("</style");
            qsizetype from = i;
            qsizetype stop = n;
            while (true) {
                const qsizetype at = s.indexOf(close, from, Qt::CaseInsensitive);
                if (at < 0) break;
                const qsizetype after = at + close.size();
                if (after >= n || isTagSpace(s.at(after)) || s.at(after) == u'>' || s.at(after) == u'/') {
                    stop = at;
                    break;
                }
                from = after;
            }
            if (!emitText(i, stop, true)) return;
            textStart = stop;
            textLine = line;
        }
    }
    emitText(textStart, n, false);
}
