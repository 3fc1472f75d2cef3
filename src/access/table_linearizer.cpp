#include "access/table_linearizer.h"

#include <QFile>
#include <QRegularExpression>

#include <vector>

#include "html/declaration_sniffer.h"
#include "html/html_document_parser.h"
#include "html/japanese_encoding.h"
#include "platform/text_codec.h"

using namespace JapaneseEncoding;

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kMarkerStart = QStringLiteral("<span class=\"addtext\">");

// Without the characters up to the space at either end, as the page's text
// and tag texts are trimmed.
QString trimControls(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin).unicode() <= 0x20) ++begin;
    while (end > begin && text.at(end - 1).unicode() <= 0x20) --end;
    return text.mid(begin, end - begin);
}

// Decoded text goes back into markup: its "<", ">" and "&" must show as
// themselves, not start tags of the page that shows them.
QString escapeText(const QString &text)
{
    return text.toHtmlEscaped().replace(QLatin1String("&quot;"), QLatin1String("\""));
}

QString markedRow(const QString &marker)
{
    return u'\t' + QStringLiteral("<tr><td>") + kMarkerStart + marker + QStringLiteral("</span>");
}

QString imageText(const THTMLTag &tag)
{
    if (tag.params().isEmpty()) return QStringLiteral("【img - url :なし; alt :なし】<br>");
    QString text = kMarkerStart + QStringLiteral("【img】</span> - ");
    for (const THTMLParam &param : tag.params()) {
        const QString name = param.name().toLower();
        if (name == u"src") {
            text += QStringLiteral(" url :") + param.value() + u';';
        } else if (name == u"alt") {
            text += QStringLiteral(" alt :") + param.value();
        }
    }
    if (!text.contains(QLatin1String("alt :"))) text += QStringLiteral(" alt :なし;");
    return text + QStringLiteral("<br>");
}

// What a tag inside a table adds to it.
QString tagText(const THTMLTag &tag, const QString &name)
{
    static const QString endCell = QStringLiteral("</td></tr>") + kCrLf;
    if (name == u"td") return QStringLiteral("\t<tr><td>");
    if (name == u"th") return markedRow(QStringLiteral("【TH】"));
    if (name == u"/td" || name == u"/th" || name == u"/caption") return endCell;
    if (name == u"caption") return markedRow(QStringLiteral("【Caption】"));
    if (name == u"thead" || name == u"tbody" || name == u"tfoot")
        return markedRow(QStringLiteral("【T") + name.mid(1) + QStringLiteral("】")) + endCell;
    if (name == u"/thead" || name == u"/tbody" || name == u"/tfoot")
        return markedRow(QStringLiteral("【/T") + name.mid(2) + QStringLiteral("】")) + endCell;
    if (name == u"img") return imageText(tag);
    // A ">" in running text gives a tag without a name; carried as "<>" it
    // would show in the cell as text that the page never had.
    if (tag.raw().isEmpty()) return {};
    if (name == u"tr" || name == u"/tr" || name == u"col" || name == u"/col" ||
        name == u"colgroup" || name == u"/colgroup")
        return {};
    return u'<' + trimControls(tag.raw()) + u'>';
}

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

// The text without its comments ("<!--" to the next "-->", or to the end).
// The document parser knows no comments: a commented-out row would be read
// as cells, and a comment holding a "<" carried into the page would hide the
// rest of the table.
QString withoutComments(const QString &text)
{
    QString out;
    qsizetype from = 0;
    while (true) {
        const qsizetype start = text.indexOf(QLatin1String("<!--"), from);
        if (start < 0) break;
        out += QStringView(text).mid(from, start - from);
        const qsizetype end = text.indexOf(QLatin1String("-->"), start + 4);
        if (end < 0) return out;
        from = end + 3;
    }
    if (from == 0) return text;
    out += QStringView(text).mid(from);
    return out;
}

}  // namespace

QString decodeTablePage(const QByteArray &bytes, const QString &declaredCharsetClass)
{
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QString text;
        TextCodec::decodeAs(bytes, "UTF-16", &text);
        return text;
    }
    if (bytes.startsWith("\xEF\xBB\xBF")) return QString::fromUtf8(bytes.mid(3));

    Code code;
    if (declaredCharsetClass == u"utf") {
        code = Utf8;
    } else if (declaredCharsetClass == u"euc") {
        code = EucJp;
    } else if (declaredCharsetClass == u"jis") {
        code = JisNew;
    } else if (!declaredCharsetClass.isEmpty()) {
        code = ShiftJis;
    } else {
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
    parser.setText(withoutComments(text));

    QList<TableEntry> tables;
    std::vector<qsizetype> open;  // the open tables; the last one is current
    parser.parse([&](const THTMLNode &node, qsizetype index) {
        const auto *tag = dynamic_cast<const THTMLTag *>(&node);
        if (!tag) {
            if (!open.empty()) {
                tables[open.back()].html += escapeText(
                    trimControls(static_cast<const THTMLText &>(node).text()));
            }
            return true;
        }
        const QString name = tag->name().toLower();
        if (name == u"table") {
            TableEntry entry;
            entry.start = index;
            for (const THTMLParam &param : tag->params()) {
                if (param.name().toLower() != u"summary") continue;
                entry.html = markedRow(QStringLiteral("【Summary】")) + param.value() +
                             QStringLiteral("</td></tr>") + kCrLf;
                break;
            }
            open.push_back(tables.size());
            tables.append(entry);
        } else if (name == u"/table") {
            if (!open.empty()) {
                tables[open.back()].open = false;
                open.pop_back();
            }
        } else if (!open.empty()) {
            tables[open.back()].html += tagText(*tag, name);
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
    const DeclaredClasses declared = sniffDeclarations(bytes);
    *tables = linearizeTables(decodeTablePage(bytes, declared.charset));
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
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    QStringList rows;
    for (QString row : tableHtml.split(rowBreak)) {
        row.remove(tag);
        row.replace(QLatin1String("&lt;"), QLatin1String("<"))
            .replace(QLatin1String("&gt;"), QLatin1String(">"))
            .replace(QLatin1String("&amp;"), QLatin1String("&"));
        row = trimControls(row);
        if (!row.isEmpty()) rows << row;
    }
    return rows;
}
