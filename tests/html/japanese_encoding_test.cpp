#include "html/japanese_encoding.h"

#include "support/test.h"

using namespace JapaneseEncoding;

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values) out += char(v);
    return out;
}

}  // namespace

TEST(JapaneseEncoding, Detects)
{
    const std::tuple<const char *, QByteArray, Code> cases[] = {
        {"pure ASCII", "plain <b>text</b>", Ascii},
        {"empty", "", Ascii},
        {"NUL in the first 2048 bytes", QByteArray("ab\0cd", 5), Binary},
        {"byte 255", bytes({'a', 255, 'b'}), Binary},
        {"a NUL as the very last byte is not looked at", QByteArray("abc\0", 4), Ascii},
        {"NUL after 2048 bytes, after Shift_JIS", QByteArray(2100, 'a') + bytes({136, 159, 0, 'x'}),
         ShiftJis},
        {"JIS new", "\x1B$B$\"\x1B(B", JisNew},
        {"JIS old", "\x1B$@$\"\x1B(J", JisOld},
        {"Shift_JIS lead 136 at once", bytes({136, 159, 164, 162}), ShiftJis},
        {"EUC-JP trail 240..254", bytes({176, 241, 'x'}), EucJp},
        {"EUC-JP lead 240..254", bytes({'x', 244, 161, 'x'}), EucJp},
        {"161..223 pairs stay undecided", bytes({164, 162, 164, 164, 'x'}), EucOrShiftJis},
        {"undecided, then Shift_JIS", bytes({164, 162, 130, 160, 'x'}), ShiftJis},
        {"142 then a kana: undecided", bytes({142, 177, 'x'}), EucOrShiftJis},
        {"142 then 64..126: Shift_JIS", bytes({142, 'A', 'x'}), ShiftJis},
        {"161..223 then 224..239, a later 253: EUC-JP", bytes({176, 224, 161, 253, 'x'}), EucJp},
        {"161..223 then 224..239, a later 140: Shift_JIS", bytes({176, 224, 140, 'x'}), ShiftJis},
        {"161..223 then below 160: Shift_JIS", bytes({200, 'a', 'x'}), ShiftJis},
        {"224..239 then 64..126: Shift_JIS", bytes({224, 'A', 'x'}), ShiftJis},
        {"224..239 then 253: EUC-JP", bytes({224, 253, 'x'}), EucJp},
        {"224..239 then 161..252: undecided", bytes({224, 200, 'x'}), EucOrShiftJis},
        {"the last byte never leads", bytes({'a', 136}), Ascii},
    };
    for (const auto &[what, text, code] : cases) EXPECT_EQ(detect(text), code) << what;
}

TEST(JapaneseEncoding, Converts)
{
    const QByteArray sjisA = bytes({130, 160});  // あ
    const std::tuple<const char *, QByteArray, Code, QByteArray> cases[] = {
        {"ASCII unchanged", "abc", ShiftJis, "abc"},
        {"JIS to Shift_JIS", "\x1B$B$\"\x1B(Bx", ShiftJis, sjisA + "x"},
        {"EUC-JP to Shift_JIS", bytes({164, 162, 240, 161}), ShiftJis, sjisA + bytes({0xE8, 0x9F})},
        {"half-width kana from EUC-JP", bytes({142, 177, 176, 241}), ShiftJis,
         bytes({177, 0x88, 0xEF})},
        {"undecided stays", bytes({164, 162, 164, 164, 'x'}), ShiftJis,
         bytes({164, 162, 164, 164, 'x'})},
        {"Shift_JIS to Shift_JIS stays", sjisA + "x", ShiftJis, sjisA + "x"},
        {"Shift_JIS to EUC-JP, kana gets single shift", sjisA + bytes({177}) + "x", EucJp,
         bytes({164, 162, 142, 177, 'x'})},
        {"JIS to EUC-JP", "\x1B$B$\"\x1B(Bx", EucJp, bytes({164, 162, 'x'})},
        {"Shift_JIS to JIS, mode closed before 7-bit only", sjisA + "x" + sjisA, JisNew,
         "\x1B$B$\"\x1B(Jx\x1B$B$\""},
        {"half-width a + voiced mark: no such character", bytes({136, 159, 177, 222}), JisNew,
         "\x1B$B0!%\"!+"},
        {"EUC-JP kana + mark to JIS", bytes({176, 241, 142, 179, 142, 222}), JisNew, "\x1B$B0q%t"},
        {"JIS old is not turned into JIS new", "\x1B$@$\"", JisNew, "\x1B$@$\""},
        {"other targets return the input", sjisA + "x", Utf8, sjisA + "x"},
    };
    for (const auto &[what, text, target, result] : cases)
        EXPECT_EQ(convert(text, target), result) << what;
}

// Every character of JIS X 0208 as glibc knows it converts like glibc does,
// in both directions between Shift_JIS and EUC-JP, and through JIS.
TEST(JapaneseEncoding, AgreesWithIconvOnJisX0208)
{
    int checked = 0;
    for (int j1 = 33; j1 <= 116; ++j1) {
        for (int j2 = 33; j2 <= 126; ++j2) {
            const QByteArray euc = bytes({j1 | 0x80, j2 | 0x80});
            QString text;  // through glibc's iconv, as the Shift_JIS form is
            TextCodec::decodeAs(euc, "EUC-JP", &text);
            const QByteArray sjis = inEncoding(text, "SHIFT_JIS");
            if (sjis.size() != 2) continue;
            ++checked;
            ASSERT_EQ(eucToShiftJis(euc), sjis) << j1 << ' ' << j2;
            ASSERT_EQ(shiftJisToEuc(sjis), euc) << j1 << ' ' << j2;
            const QByteArray jis = "\x1B$B" + bytes({j1, j2}) + "\x1B(B";
            ASSERT_EQ(jisToShiftJis(jis), sjis);
            ASSERT_EQ(jisToEuc(jis), euc);
            ASSERT_EQ(shiftJisToJis(sjis), "\x1B$B" + bytes({j1, j2}));
            ASSERT_EQ(eucToJis(euc), "\x1B$B" + bytes({j1, j2}));
        }
    }
    EXPECT_GT(checked, 6800);

    // Half-width katakana, alone and with each sound mark, become the
    // full-width character that Unicode's compatibility form names.
    for (int kana = 161; kana <= 223; ++kana) {
        for (int mark : {0, 222, 223}) {
            QString half(QChar(0xFF61 + kana - 161));
            QByteArray sjis = bytes({kana});
            if (mark) {
                half += QChar(0xFF61 + mark - 161);
                sjis += char(mark);
            }
            // Skipped: a mark that merges with nothing, and vu of wa and wo (no
            // JIS character); they stand as two characters, each checked alone.
            const QString full = half.normalized(QString::NormalizationForm_KC);
            const QByteArray jis = inEncoding(full, "ISO-2022-JP");
            if (full.size() != 1 || jis.isEmpty()) continue;
            const QByteArray expected = jis.chopped(3);  // without ESC ( B
            EXPECT_EQ(shiftJisToJis(sjis), expected) << kana << ' ' << mark;
        }
    }
}

TEST(JapaneseEncoding, RecognisesUtf8)
{
    const std::pair<QByteArray, bool> cases[] = {
        {"abc", false},
        {"", false},
        {bytes({227, 129, 130}), true},
        {bytes({227, 129}), false},
        {bytes({'a', 195, 169}), true},
        {bytes({195, 169, 130}), true},  // a lone last byte is not looked at
        {bytes({195, 'a', 'b'}), false},
        {bytes({130, 160, 'x'}), false},
        {bytes({0xEF, 0xBB, 0xBF, 'a'}), true},
        {bytes({'a', 0xF0, 0x9F, 0x98, 0x80, 'b'}), true},  // an emoji: four bytes
        {bytes({0xF0, 0x9F, 0x98, 'b'}), false},
    };
    for (const auto &[text, utf8] : cases)
        EXPECT_EQ(isUtf8(text), utf8) << text.toHex().constData();
}
