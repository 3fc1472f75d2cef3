#include "text_codec.h"

#include <iconv.h>

#include <cerrno>
#include <vector>

namespace {

// One iconv conversion of a whole buffer. Invalid input sequences are
// skipped one byte (or one UTF-16 unit pair) at a time and reported through
// *lossless.
QByteArray convert(const char *to, const char *from, const QByteArray &in, int unitSize,
                   const QByteArray &replacement, bool *lossless)
{
    *lossless = true;
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        *lossless = false;
        return {};
    }
    QByteArray out;
    // Room for the usual growth at once: a report of many megabytes would
    // otherwise be copied at each doubling.
    out.reserve(in.size() + in.size() / 2 + 16);
    std::vector<char> buffer(65536);
    char *inPtr = const_cast<char *>(in.constData());
    size_t inLeft = static_cast<size_t>(in.size());
    while (inLeft > 0) {
        char *outPtr = buffer.data();
        size_t outLeft = buffer.size();
        const size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        out.append(buffer.data(), static_cast<qsizetype>(buffer.size() - outLeft));
        if (rc != static_cast<size_t>(-1)) continue;
        if (errno == E2BIG) continue;
        // EILSEQ or EINVAL: skip one unit of input and mark the place.
        *lossless = false;
        const size_t skip = std::min(inLeft, static_cast<size_t>(unitSize));
        inPtr += skip;
        inLeft -= skip;
        out.append(replacement);
    }
    char *outPtr = buffer.data();
    size_t outLeft = buffer.size();
    iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
    out.append(buffer.data(), static_cast<qsizetype>(buffer.size() - outLeft));
    iconv_close(cd);
    return out;
}

// Whether every character of the text above ASCII comes back from CP932 as
// itself: each such character once, converted there and back in one go.
bool eachCharacterReadsBack(const QString &text)
{
    std::vector<bool> seen(0x10000, false);
    QString distinct;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80 || seen[u]) continue;
        seen[u] = true;
        distinct += c;
    }
    QByteArray bytes;
    return TextCodec::toCp932(distinct, &bytes) && TextCodec::fromCp932(bytes) == distinct;
}

}  // namespace

namespace TextCodec {

bool isValidUtf8(const QByteArray &bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const unsigned char c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        int follow;
        unsigned int cp;
        if (c >= 0xC2 && c <= 0xDF) {
            follow = 1;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            follow = 2;
            cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            follow = 3;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (i + follow >= n) return false;
        for (int k = 1; k <= follow; ++k) {
            if ((p[i + k] & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (p[i + k] & 0x3F);
        }
        if ((follow == 2 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) ||
            (follow == 3 && (cp < 0x10000 || cp > 0x10FFFF)))
            return false;
        i += follow + 1;
    }
    return true;
}

QString fromCp932(const QByteArray &bytes)
{
    bool lossless = true;
    // U+FFFD marks bytes that CP932 does not define.
    const QByteArray utf16 =
        convert("UTF-16LE", "CP932", bytes, 1, QByteArray("\xFD\xFF"), &lossless);
    return QString(reinterpret_cast<const QChar *>(utf16.constData()), utf16.size() / 2);
}

bool decodeAs(const QByteArray &bytes, const QByteArray &name, QString *out)
{
    iconv_t cd = iconv_open("UTF-8", name.constData());
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    iconv_close(cd);
    bool lossless = true;
    *out = QString::fromUtf8(
        convert("UTF-8", name.constData(), bytes, 1, QByteArray("\xEF\xBF\xBD"), &lossless));
    return true;
}

bool toCp932(const QString &text, QByteArray *out)
{
    bool lossless = true;
    // An unmappable character is skipped one UTF-16 unit at a time; the low
    // half of a surrogate pair then fails on its own.
    const QByteArray in =
        QByteArray::fromRawData(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    *out = convert("CP932", "UTF-16LE", in, 2, QByteArray("?"), &lossless);
    return lossless;
}

bool readsAsUtf8(const QByteArray &bytes)
{
    return bytes.startsWith("\xEF\xBB\xBF") || isValidUtf8(bytes);
}

QString decode(const QByteArray &bytes, bool utf8)
{
    if (!utf8) return fromCp932(bytes);
    const QByteArrayView view(bytes);
    return QString::fromUtf8(view.startsWith("\xEF\xBB\xBF") ? view.sliced(3) : view);
}

QString decode(const QByteArray &bytes)
{
    return decode(bytes, readsAsUtf8(bytes));
}

QByteArray encodeLegacy(const QString &text)
{
    // Plain ASCII is the same bytes in both.
    bool ascii = true;
    for (const QChar c : text)
        if (c.unicode() >= 0x80) {
            ascii = false;
            break;
        }
    if (ascii) return text.toLatin1();

    // CP932 only when it reads back as the same text: some CP932 byte
    // sequences (half-width katakana pairs) are also valid UTF-8, and a few
    // characters come back as others. CP932 has no shift states, so the
    // text reads back when each of its characters does, and a large report
    // holds only a few hundred different ones.
    QByteArray out;
    if (toCp932(text, &out) && !isValidUtf8(out) && eachCharacterReadsBack(text)) return out;
    return text.toUtf8();
}

void forEachLine(QStringView text, const std::function<void(QStringView)> &line)
{
    const qsizetype n = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n') continue;
        line(text.mid(start, i - start));
        if (c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n') ++i;
        start = i + 1;
    }
    if (start < n) line(text.mid(start));
}

QStringList splitLines(const QString &text)
{
    QStringList lines;
    forEachLine(text, [&lines](QStringView line) { lines.append(line.toString()); });
    return lines;
}

QString joinCrLf(const QStringList &lines)
{
    QString out;
    for (const QString &line : lines) {
        out += line;
        out += QStringLiteral("\r\n");
    }
    return out;
}

}  // namespace TextCodec
