#include "html/html_document_parser.h"

#include <QHash>

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

// The named references: the four of markup and the Latin-1 set of HTML 4.01,
// which runs from code 160 in this order.
const QHash<QString, int> &namedReferences()
{
    static const QHash<QString, int> table = [] {
        QHash<QString, int> names{{QStringLiteral("&quot;"), 34},
                                  {QStringLiteral("&amp;"), 38},
                                  {QStringLiteral("&lt;"), 60},
                                  {QStringLiteral("&gt;"), 62}};
        const char *const latin1[] = {
            "nbsp",   "iexcl",  "cent",   "pound",  "curren", "yen",    "brvbar", "sect",
            "uml",    "copy",   "ordf",   "laquo",  "not",    "shy",    "reg",    "macr",
            "deg",    "plusmn", "sup2",   "sup3",   "acute",  "micro",  "para",   "middot",
            "cedil",  "sup1",   "ordm",   "raquo",  "frac14", "frac12", "frac34", "iquest",
            "Agrave", "Aacute", "Acirc",  "Atilde", "Auml",   "Aring",  "AElig",  "Ccedil",
            "Egrave", "Eacute", "Ecirc",  "Euml",   "Igrave", "Iacute", "Icirc",  "Iuml",
            "ETH",    "Ntilde", "Ograve", "Oacute", "Ocirc",  "Otilde", "Ouml",   "times",
            "Oslash", "Ugrave", "Uacute", "Ucirc",  "Uuml",   "Yacute", "THORN",  "szlig",
            "agrave", "aacute", "acirc",  "atilde", "auml",   "aring",  "aelig",  "ccedil",
            "egrave", "eacute", "ecirc",  "euml",   "igrave", "iacute", "icirc",  "iuml",
            "eth",    "ntilde", "ograve", "oacute", "ocirc",  "otilde", "ouml",   "divide",
            "oslash", "ugrave", "uacute", "ucirc",  "uuml",   "yacute", "thorn",  "yuml"};
        int code = 160;
        for (const char *name : latin1) {
            names.insert(u'&' + QString::fromLatin1(name) + u';', code++);
        }
        return names;
    }();
    return table;
}

constexpr qsizetype kLongestName = 8;  // "&curren;", "&plusmn;" and the like

// The character a numeric reference stands for: controls and the no-break
// space read as a space.
QChar referencedChar(int code)
{
    return (code <= 31 || code == 160) ? QChar(u' ') : QChar(char16_t(code));
}

// The code of "&#" + body + end, or -1 when the reference stays as written:
// at most three digits (after an "x" for hexadecimal) giving 0 to 255.
int numericCode(QStringView body)
{
    int base = 10;
    if (!body.isEmpty() && (body.front() == u'x' || body.front() == u'X')) {
        base = 16;
        body = body.mid(1);
    }
    if (body.isEmpty() || body.size() > 3) return -1;
    int code = 0;
    for (const QChar c : body) {
        const int digit = (c >= u'0' && c <= u'9')                  ? c.unicode() - u'0'
                          : (base == 16 && c >= u'a' && c <= u'f') ? c.unicode() - u'a' + 10
                          : (base == 16 && c >= u'A' && c <= u'F') ? c.unicode() - u'A' + 10
                                                                    : -1;
        if (digit < 0) return -1;
        code = code * base + digit;
    }
    return code <= 255 ? code : -1;
}

QString decodeReferences(const QString &folded)
{
    const qsizetype n = folded.size();
    // The end of the reference that starts at each "&": the next ";" or space.
    std::vector<qsizetype> nextEnd(size_t(n) + 1, -1);
    for (qsizetype i = n - 1; i >= 0; --i) {
        const QChar c = folded.at(i);
        nextEnd[size_t(i)] = (c == u';' || c == u' ') ? i : nextEnd[size_t(i) + 1];
    }

    QString out;
    out.reserve(n);
    qsizetype i = 0;
    while (i < n) {
        const QChar c = folded.at(i);
        const qsizetype end = c == u'&' ? nextEnd[size_t(i) + 1] : -1;
        if (end < 0) {
            out += c;
            ++i;
            continue;
        }
        const QStringView reference = QStringView(folded).mid(i, end - i + 1);
        int code = -1;
        if (reference.size() < 3 || reference.at(1) != u'#') {
            if (reference.size() <= kLongestName) {
                code = namedReferences().value(reference.toString(), -1);
            }
        } else {
            code = numericCode(reference.mid(2, reference.size() - 3));
        }
        if (code < 0) {
            out += c;  // stays; the scan goes on after the "&"
            ++i;
        } else {
            out += referencedChar(code);
            i = end + 1;
        }
    }
    return out;
}

// Splits a tag text after its name into attributes at spaces outside double
// quote marks; empty pieces from repeated spaces are dropped.
QList<THTMLParam> splitParams(const QString &rest)
{
    QList<THTMLParam> params;
    bool quoted = false;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= rest.size(); ++i) {
        if (i < rest.size()) {
            const QChar c = rest.at(i);
            if (c == u'"') quoted = !quoted;
            if (c != u' ' || quoted) continue;
        }
        if (i > start) params.append(THTMLParam(rest.mid(start, i - start)));
        start = i + 1;
    }
    return params;
}

}  // namespace

THTMLParam::THTMLParam(const QString &raw) : m_raw(raw)
{
    const qsizetype eq = raw.indexOf(u'=');
    if (eq < 0) {
        m_name = asciiUpper(raw);
        return;
    }
    m_name = asciiUpper(raw.left(eq));
    m_value = raw.mid(eq + 1);
    if (m_value.size() > 1 && m_value.startsWith(u'"') && m_value.endsWith(u'"')) {
        m_value = m_value.mid(1, m_value.size() - 2);
    }
}

THTMLTag::THTMLTag(const QString &raw, qsizetype line, qsizetype col)
    : m_raw(raw), m_line(line), m_col(col)
{
    const qsizetype space = raw.indexOf(u' ');
    if (space < 0) {
        m_name = raw;
    } else {
        m_name = raw.left(space);
        m_params = splitParams(raw.mid(space + 1));
    }
}

THTMLText::THTMLText(const QString &raw, qsizetype line)
    : m_text(decodeHtmlText(raw)), m_raw(raw), m_line(line)
{
}

QString decodeHtmlText(const QString &raw)
{
    QString folded;
    folded.reserve(raw.size());
    for (QChar c : raw) {
        if (c == u'\n') c = u' ';
        if (c == u' ' && folded.endsWith(u' ')) continue;
        folded += c;
    }
    return decodeReferences(folded);
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
    const QChar *p = m_text.constData();
    const qsizetype n = m_text.size();

    QString text;
    QString tagText;
    bool inTag = false;
    qsizetype tagLine = 0;
    qsizetype tagCol = 0;
    qsizetype textLine = 1;
    qsizetype index = 0;
    bool stopped = false;

    const auto emitText = [&] {
        stopped = !visit(THTMLText(text, textLine), index++);
        text.clear();
    };
    const auto emitTag = [&] {
        stopped = !visit(THTMLTag(tagText, tagLine, tagCol), index++);
        tagText.clear();
    };

    bool previousLineHasLt = true;  // line 1 has no previous line to lack one
    qsizetype lineNumber = 1;
    qsizetype i = 0;
    while (i < n && !stopped) {
        const qsizetype lineStart = i;
        bool lineHasLt = false;
        for (; i < n && p[i] != u'\r' && p[i] != u'\n' && !stopped; ++i) {
            const QChar c = p[i];
            if (c == u'<') {
                lineHasLt = true;
                textLine = previousLineHasLt ? lineNumber : lineNumber - 1;
                if (!inTag && !text.isEmpty()) emitText();
                inTag = true;
                tagLine = lineNumber;
                tagCol = i - lineStart + 1;
            } else if (c == u'>') {
                inTag = false;
                emitTag();
            } else if (inTag) {
                tagText += c;
            } else {
                text += c;
            }
        }
        if (stopped) return;
        if (!inTag && !text.isEmpty()) text += u'\n';
        if (i < n) i += (p[i] == u'\r' && i + 1 < n && p[i + 1] == u'\n') ? 2 : 1;
        previousLineHasLt = lineHasLt;
        ++lineNumber;
    }
    if (stopped) return;
    if (inTag && !tagText.isEmpty()) {
        emitTag();
    } else if (!inTag && !text.isEmpty()) {
        emitText();
    }
}
