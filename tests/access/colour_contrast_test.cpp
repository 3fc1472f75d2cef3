#include "access/colour_contrast.h"

#include "access/contrast_rows.h"
#include "access/dichromacy.h"
#include "access/palette_placement.h"
#include "support/process_run.h"
#include "support/test.h"

using namespace ColourContrast;
using namespace Qt::Literals::StringLiterals;

namespace {

Rgb hex(const char *text)
{
    return *parseHex(QString::fromLatin1(text));
}

// The ratio is judged unrounded: #777777 on white, 4.478, shows as 4.48 yet fails AA.
TEST(ColourContrast, FirstRowTexts)
{
    const std::tuple<const char *, const char *, const char *, const char *> cases[] = {
        {"#000000", "#FFFFFF", "明度差 :255 色差 :765", "比 21.00:1  通常 AA○ AAA○  大 AA○ AAA○"},
        {"#FFFFFF", "#000000", "明度差 :255 色差 :765", "比 21.00:1  通常 AA○ AAA○  大 AA○ AAA○"},
        {"#FF8000", "#FF8000", "明度差 :0 色差 :0", "比 1.00:1  通常 AA× AAA×  大 AA× AAA×"},
        {"#777777", "#FFFFFF", "明度差 :136 色差 :408", "比 4.48:1  通常 AA× AAA×  大 AA○ AAA×"},
        {"#767676", "#FFFFFF", "明度差 :137 色差 :411", "比 4.54:1  通常 AA○ AAA×  大 AA○ AAA○"},
        {"#949494", "#FFFFFF", "明度差 :107 色差 :321", "比 3.03:1  通常 AA× AAA×  大 AA○ AAA×"},
        {"#595959", "#FFFFFF", "明度差 :166 色差 :498", "比 7.00:1  通常 AA○ AAA○  大 AA○ AAA○"},
    };
    for (const auto &[fg, bg, result, ratio] : cases) {
        SCOPED_TRACE(fg);
        EXPECT_EQ(resultText(hex(fg), hex(bg)), QString::fromUtf8(result));
        EXPECT_EQ(ratioText(hex(fg), hex(bg)), QString::fromUtf8(ratio));
    }
    EXPECT_EQ(rgbText(hex("#FF8000"), kWhite), u"前景色: 255,128,0  背景色: 255,255,255"_s);
    EXPECT_EQ(cssText(kBlack, kWhite), u"color: #000000\r\nbackground-color: #FFFFFF"_s);
    // The 0.04045 threshold: #0A0A0A (0.0392) is on the straight part.
    EXPECT_DOUBLE_EQ(relativeLuminance(hex("#0A0A0A")), 10 / 255.0 / 12.92);
}

TEST(ColourContrast, HexadecimalTexts)
{
    const std::pair<QString, std::optional<std::uint32_t>> cases[] = {
        {u"#FF8000"_s, 0xFF8000},        {u"ff8000"_s, 0xFF8000},
        {u"#aBcDeF"_s, 0xABCDEF},        {u"#0000007 and more"_s, 0x000000},
        {u"#FFF"_s, std::nullopt},       {u"12345"_s, std::nullopt},
        {u"#GG0000"_s, std::nullopt},    {u"＃ＦＦ００００"_s, std::nullopt},
        {u"#ＦＦ0000"_s, std::nullopt},  {u"##FF0000"_s, std::nullopt},
        {u" #FF0000"_s, std::nullopt},   {u"#FF 000"_s, std::nullopt},
        {u"0x1234"_s, std::nullopt},     {QString(), std::nullopt},
        {QString(1000, u'9'), 0x999999}, {u"#"_s + QString(999, u'G'), std::nullopt},
    };
    for (const auto &[text, colour] : cases) {
        const std::optional<Rgb> parsed = parseHex(text);
        EXPECT_EQ(parsed ? std::optional(rgbValue(*parsed)) : std::nullopt, colour)
            << text.left(20).toStdString();
    }
    EXPECT_EQ(hexText(rgbFromValue(0x0A0B0C)), u"#0A0B0C"_s);
}

TEST(Dichromacy, FixedRowsAndComputedColours)
{
    const std::pair<const char *, std::array<std::uint32_t, 3>> cases[] = {
        // A published row, an unpublished one, and a colour not in the table.
        {"#FF0000", {0x968726, 0xA98200, 0xFE1C00}},
        {"#336699", {0x516195, 0x46639A, 0x1D6D76}},
        {"#FF8001", {0xB8A416, 0xD09B00, 0xFF777F}},
    };
    for (const auto &[colour, seen] : cases)
        for (int kind = 1; kind <= 3; ++kind) {
            SCOPED_TRACE(std::string(colour) + " kind " + std::to_string(kind));
            EXPECT_EQ(rgbValue(Dichromacy::simulate(hex(colour), kind)), seen[kind - 1]);
        }
    EXPECT_EQ(Dichromacy::simulate(hex("#FF8001"), 0), hex("#FF8001"));
    EXPECT_EQ(Dichromacy::simulate(hex("#FF8001"), 4), hex("#FF8001"));

    // The simulated rows of a pair take both colours through the same kind.
    const auto rows = contrastRows(hex("#FF0000"), kWhite);
    EXPECT_EQ(rows[1].foreground, hex("#968726"));
    EXPECT_EQ(rows[1].background, hex("#FFFAFA"));
    EXPECT_EQ(rows[1].result, resultText(hex("#968726"), hex("#FFFAFA")));
}

TEST(ColourPalette, PlacementNearTheScreenEdges)
{
    const QSize screen(1024, 768);
    const std::pair<QRect, QPoint> cases[] = {
        {QRect(100, 100, 145, 22), QPoint(100, 122)},  // below
        {QRect(900, 100, 145, 22), QPoint(856, 122)},  // pushed left
        {QRect(100, 700, 145, 22), QPoint(100, 528)},  // above
        {QRect(950, 740, 70, 22), QPoint(856, 568)},   // lower right corner: both
        {QRect(856, 574, 145, 22), QPoint(856, 596)},  // exactly fits both ways
        {QRect(857, 575, 145, 22), QPoint(856, 403)},
    };
    for (const auto &[selector, palette] : cases)
        EXPECT_EQ(ColourPalette::palettePosition(selector, screen), palette)
            << selector.x() << "," << selector.y();

    EXPECT_EQ(ColourPalette::centred(QSize(1024, 768), QSize(300, 377)), QPoint(362, 195));
    EXPECT_EQ(ColourPalette::centred(QSize(1025, 769), QSize(300, 377)), QPoint(362, 196));
    EXPECT_EQ(ColourPalette::centred(QSize(200, 200), QSize(301, 377)), QPoint(-50, -88));
}

TEST(ColourContrastCli, PrintsTheFourRowsOrRefusesBadText)
{
    const RunResult good = runCliProgram({u"--contrast"_s, u"777777"_s, u"#FFFFFF"_s});
    const QStringList lines = good.out.split(u'\n');
    EXPECT_EQ(good.exitCode, 0);
    ASSERT_GE(lines.size(), 4);
    EXPECT_EQ(
        lines[0],
        u"一般的な色覚:\t#777777 / #FFFFFF\t明度差 :136 色差 :408\t比 4.48:1  通常 AA× AAA×  大 AA○ AAA×"_s);
    EXPECT_TRUE(lines[1].startsWith(u"第一色盲:\t#797677 / #FFFAFA\t"_s)) << lines[1].toStdString();

    const RunResult bad = runCliProgram({u"--contrast"_s, u"#000000"_s, u"＃ＦＦＦＦＦＦ"_s});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_TRUE(bad.err.contains(u"数値が有効な16進数ではありません。"_s));
}

}  // namespace
