#include "page_encoding.h"

#include <QString>

#include "html/tag_scanner.h"
#include "platform/text_codec.h"

namespace {

QByteArray declaredCharset(const QByteArray &page)
{
    THtmlParser2 scanner;
    scanner.setText(page);
    while (scanner.next()) {
        const TTag *tag = scanner.currentTag();
        if (tag->name().toLower() != "meta") continue;
        for (const QByteArray &param : tag->params()) {
            QByteArray value;
            if (attributeValue(param, "charset", &value)) return value.trimmed();
            if (!attributeValue(param, "content", &value)) continue;
            const qsizetype at = value.toLower().indexOf("charset=");
            if (at < 0) continue;
            QByteArray label = value.mid(at + 8);
            const qsizetype stop = label.indexOf(';');
            if (stop >= 0) label.truncate(stop);
            label = label.trimmed();
            if (label.startsWith('"') || label.startsWith('\'')) label = label.mid(1);
            if (label.endsWith('"') || label.endsWith('\'')) label.chop(1);
            return label;
        }
    }
    return {};
}

}  // namespace

QByteArray charsetIconvName(const QByteArray &label)
{
    const QByteArray l = label.trimmed().toLower();
    if (l == "utf-8" || l == "utf8") return "UTF-8";
    if (l == "shift_jis" || l == "shift-jis" || l == "sjis" || l == "x-sjis" || l == "ms_kanji" ||
        l == "windows-31j" || l == "cp932" || l == "csshiftjis")
        return "CP932";
    if (l == "euc-jp" || l == "x-euc-jp" || l == "eucjp" || l == "cseucpkdfmtjapanese")
        return "EUC-JP";
    if (l == "iso-2022-jp" || l == "csiso2022jp") return "ISO-2022-JP";
    return label.trimmed().toUpper();
}

namespace {

bool isEucJp(const QByteArray &bytes)
{
    const auto *p = reinterpret_cast<const uchar *>(bytes.constData());
    const qsizetype n = bytes.size();
    const auto inRow = [](uchar c) { return c >= 0xA1 && c <= 0xFE; };
    for (qsizetype i = 0; i < n; ++i) {
        if (p[i] < 0x80) continue;
        if (p[i] == 0x8E) {  // half-width katakana
            if (i + 1 >= n || p[i + 1] < 0xA1 || p[i + 1] > 0xDF) return false;
            i += 1;
        } else if (p[i] == 0x8F) {  // JIS X 0212
            if (i + 2 >= n || !inRow(p[i + 1]) || !inRow(p[i + 2])) return false;
            i += 2;
        } else {
            if (!inRow(p[i]) || i + 1 >= n || !inRow(p[i + 1])) return false;
            i += 1;
        }
    }
    return true;
}

}  // namespace

QByteArray pageEncoding(const QByteArray &page)
{
    const QByteArray declared = declaredCharset(page);
    // The text holds no NUL bytes (the scanner cut them), so a 16- or 32-bit
    // declaration is wrong about it.
    const QByteArray lower = declared.toLower();
    if (!declared.isEmpty() && !lower.startsWith("utf-16") && !lower.startsWith("utf-32") &&
        !lower.startsWith("ucs")) {
        const QByteArray name = charsetIconvName(declared);
        QString probe;
        if (TextCodec::decodeAs(QByteArray(), name, &probe)) return name;
    }
    // ISO-2022-JP is 7-bit, so it also passes as UTF-8: its escapes go first.
    if (page.contains("\x1b$")) return "ISO-2022-JP";
    if (TextCodec::isValidUtf8(page)) return "UTF-8";
    return isEucJp(page) ? "EUC-JP" : "CP932";
}

QByteArray pageToUtf8(const QByteArray &page)
{
    const QByteArray name = pageEncoding(page);
    if (name == "UTF-8") {
        if (TextCodec::isValidUtf8(page)) return page;
        return QString::fromUtf8(page).toUtf8();
    }
    QString text;
    TextCodec::decodeAs(page, name, &text);
    return text.toUtf8();
}
