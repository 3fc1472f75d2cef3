#include "html/japanese_encoding.h"

namespace JapaneseEncoding {

namespace {

constexpr char kEsc = 27;

inline int at(const QByteArray &bytes, qsizetype i)
{
    return static_cast<unsigned char>(bytes.at(i));
}

inline bool in(int c, int low, int high)
{
    return c >= low && c <= high;
}

// One JIS character (row j1, cell j2) as its Shift_JIS bytes.
void appendJisAsShiftJis(QByteArray &out, int j1, int j2)
{
    int trail;
    if (j1 % 2 == 1) {
        trail = j2 < 96 ? j2 + 31 : j2 + 32;
    } else {
        trail = j2 + 126;
    }
    const int lead = (j1 + 1) / 2 + (j1 < 95 ? 112 : 176);
    out += char(lead & 0xFF);
    out += char(trail & 0xFF);
}

// One Shift_JIS character as its JIS row and cell.
void shiftJisToJisPair(int s1, int s2, int *j1, int *j2)
{
    int lead = s1 < 160 ? 2 * (s1 - 112) : 2 * (s1 - 176);
    if (s2 < 159) --lead;
    const int trail = s2 < 128 ? s2 - 31 : s2 < 159 ? s2 - 32 : s2 - 126;
    *j1 = lead & 0xFF;
    *j2 = trail & 0xFF;
}

// Full-width JIS characters of the half-width katakana 161 to 223.
constexpr unsigned short kFullWidthKana[63] = {
    0x2123, 0x2156, 0x2157, 0x2122, 0x2126, 0x2572, 0x2521, 0x2523, 0x2525, 0x2527, 0x2529,
    0x2563, 0x2565, 0x2567, 0x2543, 0x213C, 0x2522, 0x2524, 0x2526, 0x2528, 0x252A, 0x252B,
    0x252D, 0x252F, 0x2531, 0x2533, 0x2535, 0x2537, 0x2539, 0x253B, 0x253D, 0x253F, 0x2541,
    0x2544, 0x2546, 0x2548, 0x254A, 0x254B, 0x254C, 0x254D, 0x254E, 0x254F, 0x2552, 0x2555,
    0x2558, 0x255B, 0x255E, 0x255F, 0x2560, 0x2561, 0x2562, 0x2564, 0x2566, 0x2568, 0x2569,
    0x256A, 0x256B, 0x256C, 0x256D, 0x256F, 0x2573, 0x212B, 0x212C};

constexpr int kVoicedMark = 222;
constexpr int kSemiVoicedMark = 223;

// The full-width JIS code of half-width katakana `kana`, merged with the
// sound mark `mark` (0 for none) when the combined character exists; *merged
// tells whether the mark was used.
unsigned short fullWidthKana(int kana, int mark, bool *merged)
{
    const unsigned short base = kFullWidthKana[kana - 161];
    *merged = false;
    if (mark == kVoicedMark) {
        if (in(kana, 182, 196) || in(kana, 202, 206)) {  // ka to to, ha to ho
            *merged = true;
            return base + 1;
        }
        if (kana == 179) {  // u: vu
            *merged = true;
            return 0x2574;
        }
    } else if (mark == kSemiVoicedMark && in(kana, 202, 206)) {
        *merged = true;
        return base + 2;
    }
    return base;
}

// Shared walk of conversions out of JIS: escape sequences switch the
// two-byte mode; `pair` writes one two-byte character, `single` one byte.
template <typename Pair, typename Single>
QByteArray fromJis(const QByteArray &bytes, Pair pair, Single single)
{
    QByteArray out;
    out.reserve(bytes.size());
    bool twoByte = false;
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const int c = at(bytes, i);
        if (c == kEsc) {
            if (i + 1 < n) {
                if (bytes.at(i + 1) == '$') twoByte = true;
                if (bytes.at(i + 1) == '(') twoByte = false;
            }
            i += 3;
        } else if (twoByte && i + 1 < n) {
            pair(out, c, at(bytes, i + 1));
            i += 2;
        } else {
            single(out, c, twoByte);
            ++i;
        }
    }
    return out;
}

// Shared walk of conversions into JIS: `character` reads one character at i
// and returns its JIS code (0 for a 7-bit byte) and its length.
template <typename Character>
QByteArray toJis(const QByteArray &bytes, Character character)
{
    QByteArray out;
    out.reserve(bytes.size() + bytes.size() / 2);
    bool twoByte = false;
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        qsizetype length = 1;
        const unsigned short code = character(i, &length);
        if (code == 0) {
            if (twoByte) out += "\x1B(J";
            twoByte = false;
            out += bytes.at(i);
        } else {
            if (!twoByte) out += "\x1B$B";
            twoByte = true;
            out += char(code >> 8);
            out += char(code & 0xFF);
        }
        i += length;
    }
    return out;
}

}  // namespace

Code detect(const QByteArray &bytes)
{
    const qsizetype n = bytes.size();
    const qsizetype binaryEnd = qMin<qsizetype>(2048, n - 1);
    for (qsizetype i = 0; i < binaryEnd; ++i) {
        const int c = at(bytes, i);
        if (c < 8 || c == 255) return Binary;
    }

    Code code = Ascii;
    qsizetype i = 0;
    while (i < n - 1 && (code == Ascii || code == EucOrShiftJis)) {
        const int c = at(bytes, i++);
        if (c == kEsc) {
            if (bytes.at(i++) == '$' && i < n) {
                const char d = bytes.at(i++);
                if (d == 'B') code = JisNew;
                if (d == '@') code = JisOld;
            }
        } else if (c < 8 || c == 255) {
            code = Binary;
        } else if (in(c, 129, 141) || in(c, 143, 159)) {
            code = ShiftJis;
        } else if (c == 142) {
            const int d = at(bytes, i++);
            if (in(d, 64, 126) || in(d, 128, 160) || in(d, 224, 252)) {
                code = ShiftJis;
            } else if (in(d, 161, 223)) {
                code = EucOrShiftJis;
            }
        } else if (in(c, 161, 223)) {
            const int d = at(bytes, i++);
            if (in(d, 240, 254)) {
                code = EucJp;
            } else if (in(d, 161, 223)) {
                code = EucOrShiftJis;
            } else if (in(d, 224, 239)) {
                code = EucOrShiftJis;
                while (i < n && at(bytes, i) >= 64 && code == EucOrShiftJis) {
                    const int e = at(bytes, i++);
                    if (in(e, 129, 141) || in(e, 143, 156)) {
                        code = ShiftJis;
                    } else if (in(e, 253, 254)) {
                        code = EucJp;
                    }
                }
            } else if (d < 160) {
                code = ShiftJis;
            }
        } else if (in(c, 240, 254)) {
            code = EucJp;
        } else if (in(c, 224, 239)) {
            const int d = at(bytes, i++);
            if (in(d, 64, 126) || in(d, 128, 160)) {
                code = ShiftJis;
            } else if (in(d, 253, 254)) {
                code = EucJp;
            } else if (in(d, 161, 252)) {
                code = EucOrShiftJis;
            }
        }
    }
    return code;
}

QByteArray jisToShiftJis(const QByteArray &bytes)
{
    return fromJis(
        bytes, [](QByteArray &out, int j1, int j2) { appendJisAsShiftJis(out, j1, j2); },
        [](QByteArray &out, int c, bool) { out += char(c); });
}

QByteArray jisToEuc(const QByteArray &bytes)
{
    const auto single = [](QByteArray &out, int c, bool twoByte) {
        out += char(twoByte && in(c, 33, 126) ? c | 0x80 : c);
    };
    return fromJis(
        bytes,
        [&single](QByteArray &out, int j1, int j2) {
            single(out, j1, true);
            single(out, j2, true);
        },
        single);
}

QByteArray eucToShiftJis(const QByteArray &bytes)
{
    QByteArray out;
    out.reserve(bytes.size());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        const int c = at(bytes, i);
        if (c < 129 || c == 255 || i + 1 == n) {
            out += char(c);
        } else if (c == 142) {
            out += bytes.at(++i);
        } else {
            appendJisAsShiftJis(out, c % 128, at(bytes, ++i) % 128);
        }
    }
    return out;
}

QByteArray shiftJisToEuc(const QByteArray &bytes)
{
    QByteArray out;
    out.reserve(bytes.size() + bytes.size() / 4);
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        const int c = at(bytes, i);
        if (c < 128 || i + 1 == n) {
            out += char(c);
        } else if (in(c, 161, 223)) {
            out += char(142);
            out += char(c);
        } else {
            int j1 = 0;
            int j2 = 0;
            shiftJisToJisPair(c, at(bytes, ++i), &j1, &j2);
            out += char(j1 | 0x80);
            out += char(j2 | 0x80);
        }
    }
    return out;
}

QByteArray eucToJis(const QByteArray &bytes)
{
    const qsizetype n = bytes.size();
    return toJis(bytes, [&bytes, n](qsizetype i, qsizetype *length) -> unsigned short {
        const int c = at(bytes, i);
        if (c < 128 || i + 1 == n) return 0;
        if (c == 142) {
            const int kana = at(bytes, i + 1);
            if (!in(kana, 161, 223)) {
                *length = 2;
                return 0x2126;  // no such character: a middle dot stands in
            }
            const int mark = i + 3 < n && at(bytes, i + 2) == 142 ? at(bytes, i + 3) : 0;
            bool merged = false;
            const unsigned short code = fullWidthKana(kana, mark, &merged);
            *length = merged ? 4 : 2;
            return code;
        }
        *length = 2;
        return ((c & 0x7F) << 8) | (at(bytes, i + 1) & 0x7F);
    });
}

QByteArray shiftJisToJis(const QByteArray &bytes)
{
    const qsizetype n = bytes.size();
    return toJis(bytes, [&bytes, n](qsizetype i, qsizetype *length) -> unsigned short {
        const int c = at(bytes, i);
        if (c < 128) return 0;
        if (in(c, 161, 223)) {
            const int mark = i + 1 < n ? at(bytes, i + 1) : 0;
            bool merged = false;
            const unsigned short code = fullWidthKana(c, mark, &merged);
            *length = merged ? 2 : 1;
            return code;
        }
        if (i + 1 == n) return 0;
        int j1 = 0;
        int j2 = 0;
        shiftJisToJisPair(c, at(bytes, i + 1), &j1, &j2);
        *length = 2;
        return (j1 << 8) | j2;
    });
}

QByteArray convert(const QByteArray &bytes, Code target)
{
    const Code source = detect(bytes);
    if (source == Ascii || source == Binary || source == EucOrShiftJis || source == target)
        return bytes;
    const bool fromJisCode = source == JisNew || source == JisOld;
    switch (target) {
    case ShiftJis:
        if (fromJisCode) return jisToShiftJis(bytes);
        if (source == EucJp) return eucToShiftJis(bytes);
        break;
    case EucJp:
        if (fromJisCode) return jisToEuc(bytes);
        if (source == ShiftJis) return shiftJisToEuc(bytes);
        break;
    case JisNew:
        if (source == EucJp) return eucToJis(bytes);
        if (source == ShiftJis) return shiftJisToJis(bytes);
        break;
    default:
        break;
    }
    return bytes;
}

bool isUtf8(const QByteArray &bytes)
{
    const qsizetype n = bytes.size();
    bool multiByte = false;
    qsizetype i = 0;
    while (i < n - 1) {
        const int c = at(bytes, i);
        const auto follows = [&](qsizetype k) { return i + k < n && in(at(bytes, i + k), 128, 191); };
        if (in(c, 240, 244)) {  // beyond the Basic Multilingual Plane: emoji and rare kanji
            if (!follows(1) || !follows(2) || !follows(3)) return false;
            i += 4;
            multiByte = true;
        } else if (in(c, 224, 239)) {
            if (!follows(1) || !follows(2)) return false;
            i += 3;
            multiByte = true;
        } else if (in(c, 192, 253)) {
            if (!follows(1)) return false;
            i += 2;
            multiByte = true;
        } else if (c > 127) {
            return false;
        } else {
            ++i;
        }
    }
    return multiByte;
}

}  // namespace JapaneseEncoding
