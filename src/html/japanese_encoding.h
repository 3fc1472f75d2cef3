#pragma once

#include <QByteArray>

// Guessing which of the classic Japanese encodings a byte string uses, and
// converting between JIS (ISO-2022-JP with its escape sequences), EUC-JP and
// Shift_JIS by the code arithmetic of those encodings. Everything here works
// on bytes; turning bytes into text is the text codecs' job.
namespace JapaneseEncoding {

enum Code {
    Ascii = 0,          // nothing but 7-bit text seen
    Binary = 1,         // a control byte below 8, or the byte 255
    JisNew = 2,         // ESC "$" "B" seen
    JisOld = 3,         // ESC "$" "@" seen
    EucJp = 4,
    ShiftJis = 5,
    EucOrShiftJis = 6,  // undecided
    Utf8 = 7,           // never returned by detect(); the table view's own code
};

// The first 2048 bytes decide binary; then the first byte pattern that only
// one encoding can have. The last byte never starts a character.
Code detect(const QByteArray &bytes);

// Converts to JisNew, EucJp or ShiftJis from what detect() says of the
// bytes; undecided, plain or binary bytes, other targets and bytes already in
// the target come back unchanged.
QByteArray convert(const QByteArray &bytes, Code target);

// The single directions, without detecting the source first.
QByteArray jisToShiftJis(const QByteArray &bytes);
QByteArray eucToShiftJis(const QByteArray &bytes);
QByteArray jisToEuc(const QByteArray &bytes);
QByteArray shiftJisToEuc(const QByteArray &bytes);
// Half-width katakana become full-width, with a following sound mark merged;
// the two-byte mode is left open at the end.
QByteArray eucToJis(const QByteArray &bytes);
QByteArray shiftJisToJis(const QByteArray &bytes);

// True when at least one multi-byte sequence was seen and every byte above
// 127 stands in a two-, three- or four-byte sequence; false for 7-bit text.
bool isUtf8(const QByteArray &bytes);

}  // namespace JapaneseEncoding
