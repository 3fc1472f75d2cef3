#include "support/test.h"

// Writing and reading back through files is the INI and Tidy-file tests';
// here what only the codec decides.
TEST(TextCodec, ReadsUtf8AndCp932AndKeepsWhatCp932CannotHold)
{
    const QString japanese = "情報: チェックしたHTML: ";
    QByteArray sjis;
    ASSERT_TRUE(TextCodec::toCp932(japanese, &sjis));
    for (const QByteArray &bytes : {sjis, japanese.toUtf8(), "\xEF\xBB\xBF" + japanese.toUtf8(),
                                    TextCodec::encodeLegacy(japanese)})
        EXPECT_EQ(TextCodec::decode(bytes), japanese);
    // An emoji has no CP932 form: the text is written in UTF-8, not lost.
    QByteArray lossy;
    EXPECT_FALSE(TextCodec::toCp932("alt \U0001F600 ", &lossy));
    EXPECT_EQ(TextCodec::decode(TextCodec::encodeLegacy("alt \U0001F600 ")), "alt \U0001F600 ");
    // Text whose CP932 bytes read back as something else is written in UTF-8:
    // half-width katakana that make valid UTF-8, characters CP932 returns as
    // others (the yen sign as a backslash, the wave dash as a full-width tilde).
    for (const QString &text : {QString("ﾂｱ"), QString("価格 ¥100"), QString("10〜20 ｶﾅ")})
        EXPECT_EQ(TextCodec::decode(TextCodec::encodeLegacy(text)), text);
    // 0xA0 and a lone lead byte at the end are not CP932 text.
    const QString odd = TextCodec::decode("ab\xA0\x63\x82");  // 0x63 is "c"
    EXPECT_TRUE(odd.startsWith("ab") && odd.contains(QChar(0xFFFD)) && odd.contains(u'c'));
    EXPECT_EQ(TextCodec::splitLines("a\r\nb\rc\nd\r\n\r\n"), (QStringList{"a", "b", "c", "d", ""}));
    EXPECT_EQ(TextCodec::joinCrLf({"x", "y"}), "x\r\ny\r\n");
}
