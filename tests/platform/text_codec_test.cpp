#include <gtest/gtest.h>

#include "platform/text_codec.h"

TEST(TextCodec, ReadsUtf8AndCp932AndKeepsWhatCp932CannotHold)
{
    const QString japanese = "情報: チェックしたHTML: ";
    QByteArray sjis;
    ASSERT_TRUE(TextCodec::toCp932(japanese, &sjis));
    EXPECT_NE(sjis, japanese.toUtf8());
    EXPECT_EQ(TextCodec::decode(sjis), japanese);
    EXPECT_EQ(TextCodec::decode(japanese.toUtf8()), japanese);
    EXPECT_EQ(TextCodec::decode(QByteArray("\xEF\xBB\xBF") + japanese.toUtf8()), japanese);

    // An emoji has no CP932 form: the text is written in UTF-8, not lost.
    const QString emoji = "alt \U0001F600 ";
    QByteArray lossy;
    EXPECT_FALSE(TextCodec::toCp932(emoji, &lossy));
    EXPECT_EQ(TextCodec::decode(TextCodec::encodeLegacy(emoji)), emoji);
    EXPECT_EQ(TextCodec::decode(TextCodec::encodeLegacy(japanese)), japanese);

    // "ﾃｩ" is C3 A9 in CP932, which would read back as UTF-8 "é".
    const QString katakana = "ﾃｩ";
    EXPECT_EQ(TextCodec::decode(TextCodec::encodeLegacy(katakana)), katakana);
}

TEST(TextCodec, UndefinedCp932BytesBecomeReplacementCharacters)
{
    // 0xA0 and a lone lead byte at the end are not CP932 text.
    const QString text = TextCodec::decode(QByteArray("ab\xA0" "c\x82"));
    EXPECT_TRUE(text.startsWith("ab"));
    EXPECT_TRUE(text.contains(QChar(0xFFFD)));
    EXPECT_TRUE(text.contains(u'c'));
}

TEST(TextCodec, SplitsEveryKindOfLineBreak)
{
    EXPECT_EQ(TextCodec::splitLines("a\r\nb\rc\nd"), (QStringList{"a", "b", "c", "d"}));
    EXPECT_EQ(TextCodec::splitLines("a\r\n\r\n"), (QStringList{"a", QString()}));
    EXPECT_TRUE(TextCodec::splitLines(QString()).isEmpty());
    EXPECT_EQ(TextCodec::joinCrLf({"x", "y"}), "x\r\ny\r\n");
}
