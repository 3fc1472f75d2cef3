// Arbitrary bytes through the Japanese encodings: every conversion stays
// within a few times the input's length.

#include "fuzz_target.h"
#include "html/japanese_encoding.h"

using namespace JapaneseEncoding;

void fuzzBytes(const QByteArray &bytes)
{
    const Code code = detect(bytes);
    check(code >= Ascii && code <= EucOrShiftJis);

    for (const Code target : {JisNew, EucJp, ShiftJis}) {
        const QByteArray converted = convert(bytes, target);
        if (code == Ascii || code == Binary || code == EucOrShiftJis) check(converted == bytes);
        check(converted.size() <=
              5 * bytes.size());  // at worst 4.5 times: kana and ASCII in turn, into JIS
    }
    check(eucToShiftJis(bytes).size() <= bytes.size());
    check(jisToShiftJis(bytes).size() <= bytes.size());
    check(jisToEuc(bytes).size() <= bytes.size());
    check(shiftJisToEuc(bytes).size() <= 2 * bytes.size());
    check(eucToJis(bytes).size() <= 4 * bytes.size());
    check(shiftJisToJis(bytes).size() <= 5 * bytes.size());

    bool sevenBit = true;
    for (const char c : bytes) sevenBit = sevenBit && static_cast<unsigned char>(c) < 128;
    if (sevenBit) check(!isUtf8(bytes));
}
