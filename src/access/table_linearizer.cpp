#include "access/table_linearizer.h"

#include <QFile>
#include <QRegularExpression>

#include <vector>

#include "html/declaration_sniffer.h"
#include "html/html_document_parser.h"
#include "html/japanese_encoding.h"
#include "html/page_encoding.h"
#include "platform/text_codec.h"

using namespace JapaneseEncoding;

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kMarkerStart = QStringLiteral("<span class=\"addtext\">");
const QString kBreak = QStringLiteral("<br>");

// Decoded text goes back into markup: its "<", ">" and "&" must show as
// themselves, not start tags of the page that shows them.
QString escapeText(const QString &text)
{
    for (const QChar c : text) {
        if (c == u'&' || c == u'<' || c == u'>')
            return text.toHtmlEscaped().replace(QLatin1String("&quot;"), QLatin1String("\""));
    }
    return text;
}

// An attribute value with each run of whitespace one space, none at either
// end, so no line break of the page reaches the rows.
QString foldedValue(const QString &value)
{
    QString out;
    for (const QChar c : value) {
        if (!isHtmlSpace(c)) {
            out += c;
        } else if (!out.isEmpty() && !out.endsWith(u' ')) {
            out += u' ';
        }
    }
    if (out.endsWith(u' ')) out.chop(1);
    return out;
}

QString shownValue(const QString &value)
{
    return escapeText(foldedValue(value));
}

QString markedRow(const QString &marker)
{
    return u'\t' + QStringLiteral("<tr><td>") + kMarkerStart + marker + QStringLiteral("</span>");
}

QString imageText(const THTMLTag &tag)
{
    if (tag.params().isEmpty()) return QStringLiteral("【img - url :なし; alt :なし】<br>");
    QString text = kMarkerStart + QStringLiteral("【img】</span> - ");
    bool alt = false;
    for (const THTMLParam &param : tag.params()) {
        if (param.name() == u"SRC") {
            text += QStringLiteral(" url :") + shownValue(param.value()) + u';';
        } else if (param.name() == u"ALT") {
            text += QStringLiteral(" alt :") + shownValue(param.value());
            alt = true;
        }
    }
    if (!alt) text += QStringLiteral(" alt :なし;");
    return text + kBreak;
}

bool isOneOf(QStringView name, std::initializer_list<const char16_t *> names)
{
    for (const char16_t *n : names)
        if (name == QStringView(n)) return true;
    return false;
}

// Elements whose content is no cell text and must not reach the table view:
// it could run or load things there.
bool dropsContent(QStringView name)
{
    return isOneOf(name, {u"script", u"style", u"iframe", u"object", u"applet", u"noembed"});
}

// Tags left out without their content: embedded things, and what would
// change the page that shows the table.
bool dropsTag(QStringView name)
{
    return isOneOf(name, {u"embed", u"frame", u"frameset", u"meta", u"link", u"base", u"html",
                          u"head", u"body", u"title", u"param"});
}

// Elements that stand on lines of their own.
bool breaksLine(QStringView name)
{
    return isOneOf(name, {u"br", u"p", u"div", u"li", u"dt", u"dd", u"h1", u"h2", u"h3", u"h4", u"h5",
                          u"h6", u"pre", u"blockquote", u"address", u"hr"});
}

bool isPlainName(const QString &name, bool attribute)
{
    if (name.isEmpty() || (!attribute && !name.at(0).isLetter())) return false;
    for (const QChar c : name) {
        if (!(c.isLetterOrNumber() || c == u'-' || c == u'_' || c == u':' || c == u'.')) return false;
    }
    return true;
}

// An address that runs a script when followed.
bool isScriptAddress(const QString &value)
{
    QString compact;
    for (const QChar c : value) {
        if (c.unicode() > 0x20) compact += c.toLower();
        if (compact.size() > 11) break;
    }
    return compact.startsWith(QLatin1String("javascript:")) || compact.startsWith(QLatin1String("vbscript:"));
}

// The tag carried into the cell, rebuilt from what was read of it: event
// handlers and script addresses left out, values escaped.
QString carriedTag(const THTMLTag &tag, const QString &name)
{
    const bool end = name.startsWith(u'/');
    if (!isPlainName(end ? name.mid(1) : name, false)) return {};
    if (end) return u'<' + name + u'>';
    QString out = u'<' + name;
    for (const THTMLParam &param : tag.params()) {
        const QString attribute = param.name().toLower();
        if (!isPlainName(attribute, true) || attribute.startsWith(QLatin1String("on")) ||
            isScriptAddress(param.value()))
            continue;
        out += u' ' + attribute;
        if (param.raw().contains(u'='))
            out += QStringLiteral("=\"") + foldedValue(param.value()).toHtmlEscaped() + u'"';
    }
    return out + u'>';
}

// What separates the next piece of a cell from the one before it.
enum class Gap { None, Space, Break };

struct OpenTable {
    qsizetype entry;
    Gap gap = Gap::None;
    bool rowStart = true;  // nothing of the current row shown yet
    bool spaced = false;   // a space or break is the last thing shown

    // Writes the gap before the next piece: none at the start of a row, and
    // no second space.
    void writeGap(QString &out)
    {
        if (!rowStart && gap == Gap::Break) {
            out += QStringLiteral("<br>");
            spaced = true;
        } else if (!rowStart && gap == Gap::Space && !spaced) {
            out += u' ';
            spaced = true;
        }
        gap = Gap::None;
    }
};

// Every byte above 127 stands in an EUC-JP sequence: two bytes of 161 to
// 254, 142 and a half-width katakana, or 143 and two bytes of 161 to 254.
bool isEucJp(const QByteArray &bytes)
{
    const auto byte = [&bytes](qsizetype i) {
        return i < bytes.size() ? static_cast<unsigned char>(bytes.at(i)) : 0;
    };
    const auto high = [](int c) { return c >= 161 && c <= 254; };
    for (qsizetype i = 0; i < bytes.size();) {
        const int c = byte(i);
        if (c < 128) {
            ++i;
        } else if (high(c) && high(byte(i + 1))) {
            i += 2;
        } else if (c == 142 && byte(i + 1) >= 161 && byte(i + 1) <= 223) {
            i += 2;
        } else if (c == 143 && high(byte(i + 1)) && high(byte(i + 2))) {
            i += 3;
        } else {
            return false;
        }
    }
    return true;
}

}  // namespace

QString decodeTablePage(const QByteArray &bytes, const QString &declaredCharset)
{
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QString text;
        TextCodec::decodeAs(bytes, "UTF-16", &text);
        return text;
    }
    if (bytes.startsWith("\xEF\xBB\xBF")) return QString::fromUtf8(bytes.mid(3));

    QByteArray name = charsetIconvName(declaredCharset.toLatin1());
    // Browsers read the Latin-1 labels as windows-1252; a page whose bytes
    // are 8-bit cannot be in a 16- or 32-bit encoding without a byte-order mark.
    if (name == "ISO-8859-1" || name == "LATIN1" || name == "US-ASCII" || name == "ASCII" ||
        name == "ISO_8859-1" || name == "L1")
        name = "CP1252";
    if (name.startsWith("UTF-16") || name.startsWith("UTF-32") || name.startsWith("UCS")) name.clear();
    if (name == "XSJIS") name = "CP932";  // an old alias of the declaration classes

    Code code;
    if (name == "UTF-8") {
        code = Utf8;
    } else if (name == "EUC-JP") {
        code = EucJp;
    } else if (name == "ISO-2022-JP") {
        code = JisNew;
    } else if (name == "CP932") {
        code = ShiftJis;
    } else {
        QString text;
        if (!name.isEmpty() && TextCodec::decodeAs(bytes, name, &text)) return text;
        // Not declared, or by a name nobody knows: the bytes decide.
        code = isUtf8(bytes) ? Utf8 : detect(bytes);
    }

    // A declaration of EUC-JP or JIS on bytes that cannot be either is wrong;
    // then the bytes decide, as a second detection would.
    const Code found = detect(bytes);
    const bool plainlyOther = found == ShiftJis || found == EucJp || found == JisNew || found == JisOld;
    if (code == EucJp && !isEucJp(bytes) && plainlyOther) code = found;
    if (code == JisNew && !bytes.contains("\x1B$") && plainlyOther) code = found;

    switch (code) {
    case Utf8:
        return QString::fromUtf8(bytes);
    case JisNew:
    case JisOld:
        return TextCodec::fromCp932(jisToShiftJis(bytes));
    case EucJp:
        if (bytes.contains('\x8F')) {
            // Characters of JIS X 0212 have no Shift_JIS form at all.
            QString text;
            if (TextCodec::decodeAs(bytes, "EUC-JP", &text)) return text;
        }
        return TextCodec::fromCp932(eucToShiftJis(bytes));
    default:
        return TextCodec::fromCp932(bytes);
    }
}

QList<TableEntry> linearizeTables(const QString &text)
{
    THTMLParser parser;
    parser.setText(text);

    static const QString endCell = QStringLiteral("</td></tr>") + kCrLf;
    QList<TableEntry> tables;
    std::vector<OpenTable> open;  // the open tables; the last one is current
    QString skipping;             // the element whose content is left out
    int skipDepth = 0;

    // Adds to the current table: `content` shows, so the gap before it
    // does too (none at the start of a row); a mark ends the row's content.
    const auto add = [&](const QString &html, bool content) {
        OpenTable &table = open.back();
        QString &out = tables[table.entry].html;
        if (content) {
            table.writeGap(out);
            table.rowStart = false;
            table.spaced = false;
        }
        out += html;
    };
    const auto mark = [&](const QString &html) {
        add(html, false);
        open.back().gap = Gap::None;
        open.back().rowStart = true;
        open.back().spaced = false;
    };

    parser.parse([&](const THTMLNode &node, qsizetype index) {
        const auto *tag = dynamic_cast<const THTMLTag *>(&node);
        if (!tag) {
            const auto &run = static_cast<const THTMLText &>(node);
            if (open.empty() || run.isRawText() || !skipping.isEmpty()) return true;
            QStringView words(run.text());
            const bool before = words.startsWith(u' ');
            const bool after = words.endsWith(u' ');
            if (before) words = words.mid(1);
            if (after && !words.isEmpty()) words.chop(1);
            OpenTable &table = open.back();
            if (before && table.gap == Gap::None) table.gap = Gap::Space;
            if (!words.isEmpty()) add(escapeText(words.toString()), true);
            if (after && !words.isEmpty()) open.back().gap = Gap::Space;
            return true;
        }
        const QString name = tag->name().toLower();
        const QStringView bare = name.startsWith(u'/') ? QStringView(name).mid(1) : QStringView(name);
        if (!skipping.isEmpty()) {
            if (name == skipping) ++skipDepth;
            if (name == u'/' + skipping && --skipDepth == 0) skipping.clear();
            // An element left open ends with its table.
            if (name != u"/table") return true;
            skipping.clear();
        }
        if (name == u"table") {
            TableEntry entry;
            entry.start = index;
            open.push_back({tables.size()});
            tables.append(entry);
            for (const THTMLParam &param : tag->params()) {
                if (param.name() != u"SUMMARY") continue;
                mark(markedRow(QStringLiteral("【Summary】")) + shownValue(param.value()) + endCell);
                break;
            }
        } else if (name == u"/table") {
            if (!open.empty()) {
                tables[open.back().entry].open = false;
                open.pop_back();
            }
        } else if (open.empty() || name.startsWith(u'!') || name.startsWith(u'?')) {
            // outside the tables; comments and declarations
        } else if (dropsContent(name)) {
            if (!tag->selfClosing() && name != u"script" && name != u"style") {
                skipping = name;
                skipDepth = 1;
            }
        } else if (name == u"td") {
            mark(QStringLiteral("\t<tr><td>"));
        } else if (name == u"th") {
            mark(markedRow(QStringLiteral("【TH】")));
        } else if (name == u"/td" || name == u"/th" || name == u"/caption") {
            mark(endCell);
        } else if (name == u"caption") {
            mark(markedRow(QStringLiteral("【Caption】")));
        } else if (name == u"thead" || name == u"tbody" || name == u"tfoot") {
            mark(markedRow(QStringLiteral("【T") + name.mid(1) + QStringLiteral("】")) + endCell);
        } else if (name == u"/thead" || name == u"/tbody" || name == u"/tfoot") {
            mark(markedRow(QStringLiteral("【/T") + name.mid(2) + QStringLiteral("】")) + endCell);
        } else if (name == u"img") {
            add(imageText(*tag), true);
        } else if (isOneOf(name, {u"tr", u"/tr", u"col", u"/col", u"colgroup", u"/colgroup"}) ||
                   dropsTag(bare) || dropsContent(bare)) {
            // nothing
        } else if (breaksLine(bare)) {
            open.back().gap = Gap::Break;
        } else if (name.startsWith(u'/')) {
            add(carriedTag(*tag, name), false);
        } else {
            // A start tag goes after the gap before it, so the gap stays outside a link.
            const QString carried = carriedTag(*tag, name);
            if (!carried.isEmpty()) {
                OpenTable &table = open.back();
                QString &out = tables[table.entry].html;
                table.writeGap(out);
                out += carried;
            }
        }
        return true;
    });
    return tables;
}

bool linearizeFile(const QString &path, QList<TableEntry> *tables, QString *error)
{
    tables->clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("ファイル「%1」を読み込めません。\n%2").arg(path, file.errorString());
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *error = QStringLiteral("ファイル「%1」を読み込めません。\n%2").arg(path, file.errorString());
        return false;
    }
    *tables = linearizeTables(decodeTablePage(bytes, sniffDeclarations(bytes).charsetName));
    return true;
}

QString tablePageText(const QString &tableHtml, const QString &charset)
{
    const QStringList lines{
        QStringLiteral("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\" "
                       "\"http://www.w3.org/TR/html4/loose.dtd\">"),
        QStringLiteral("<html>"),
        QStringLiteral("<head><meta http-equiv=\"content-type\" content=\"text/html;charset=%1\">")
            .arg(charset),
        QStringLiteral("<meta http-equiv=\"content-language\" content=\"ja\">"),
        QStringLiteral("<title>Table線形化</title></head>"),
        QStringLiteral("<style type=\"text/css\">"),
        QStringLiteral(".addtext { color:red; background-color:white }"),
        QStringLiteral("</style>"),
        QStringLiteral("<body>"),
        QStringLiteral("<p>1行ずつ読んでみて意味が通るか確認してください。</p>"),
        QStringLiteral("<p>イメージは表示しません。Altテキストを読んで確認してください。</p>"),
        QStringLiteral("<p>TBody,TFoot,THeadの開始と終了,Caption,TH,Img要素とSummary属性は【】で囲んだ"
                       "赤い文字列で表示されます。</p>"),
        QStringLiteral("<hr>"),
        QStringLiteral("<table width=\"100%\" border=\"1\">"),
        QStringLiteral("<tbody>"),
        tableHtml,
        QStringLiteral("</tbody>"),
        QStringLiteral("</table>"),
        QStringLiteral("</body>"),
        QStringLiteral("</html>"),
    };
    return lines.join(kCrLf) + kCrLf;
}

QByteArray tablePageBytes(const QString &tableHtml, bool *utf8)
{
    QByteArray bytes;
    const bool fits = TextCodec::toCp932(tablePageText(tableHtml, QStringLiteral("shift_jis")), &bytes);
    if (utf8) *utf8 = !fits;
    if (fits) return bytes;
    return tablePageText(tableHtml, QStringLiteral("utf-8")).toUtf8();
}

QStringList tableRowsAsText(const QString &tableHtml)
{
    // A cell starts a row of its own even when the page leaves its end tag
    // out (then no line break ends the row before it).
    static const QRegularExpression rowBreak(QStringLiteral("\r\n|\t(?=<tr><td>)"));
    QStringList rows;
    for (const QString &row : tableHtml.split(rowBreak)) {
        // Tags go, a line break reads as a space; then the escapes of the text.
        QString text;
        for (qsizetype i = 0; i < row.size(); ++i) {
            if (row.at(i) != u'<') {
                text += row.at(i);
                continue;
            }
            const qsizetype close = row.indexOf(u'>', i);
            if (close < 0) break;
            if (QStringView(row).mid(i, close - i + 1) == kBreak && !text.endsWith(u' ')) text += u' ';
            i = close;
        }
        text.replace(QLatin1String("&lt;"), QLatin1String("<"))
            .replace(QLatin1String("&gt;"), QLatin1String(">"))
            .replace(QLatin1String("&quot;"), QLatin1String("\""))
            .replace(QLatin1String("&amp;"), QLatin1String("&"));
        qsizetype begin = 0;
        qsizetype end = text.size();
        while (begin < end && text.at(begin) == u' ') ++begin;
        while (end > begin && text.at(end - 1) == u' ') --end;
        if (end > begin) rows << text.mid(begin, end - begin);
    }
    return rows;
}
