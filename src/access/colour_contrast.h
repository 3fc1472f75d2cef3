#pragma once

#include <QString>
#include <cstdint>
#include <optional>

// A 24-bit colour with 8-bit channels.
struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;

    friend bool operator==(Rgb a, Rgb b) { return a.r == b.r && a.g == b.g && a.b == b.b; }
    friend bool operator!=(Rgb a, Rgb b) { return !(a == b); }
};

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};

// Rgb from 0xRRGGBB and back.
constexpr Rgb rgbFromValue(std::uint32_t v)
{
    return Rgb{std::uint8_t(v >> 16), std::uint8_t(v >> 8), std::uint8_t(v)};
}
constexpr std::uint32_t rgbValue(Rgb c)
{
    return (std::uint32_t(c.r) << 16) | (c.g << 8) | c.b;
}

namespace ColourContrast {

// (R × 299 + G × 587 + B × 114) / 1000, truncated.
int brightness(Rgb c);
// 0 … 255.
int brightnessDifference(Rgb a, Rgb b);
// Sum of the channel differences, 0 … 765.
int colourDifference(Rgb a, Rgb b);
// "明度差 :255 色差 :765"
QString resultText(Rgb foreground, Rgb background);

// "#FF8000"
QString hexText(Rgb c);
// "#" is optional; the first six characters after it must be hexadecimal
// digits (either case), anything after them is ignored.
std::optional<Rgb> parseHex(const QString &text);
// "前景色: 0,0,0  背景色: 255,255,255"
QString rgbText(Rgb foreground, Rgb background);
// "color: #000000\r\nbackground-color: #FFFFFF"
QString cssText(Rgb foreground, Rgb background);

constexpr const char16_t kInvalidHex[] = u"数値が有効な16進数ではありません。";
constexpr const char16_t kCopied[] = u"クリップボードへ送りました。";
// Picking a colour from the screen: no screen under the cursor, no image of
// the screen to be had, no pixel in it.
constexpr const char16_t kNoWindow[] = u"ウィンドウハンドルを取得できませんでした。";
constexpr const char16_t kNoDeviceContext[] =
    u"デバイスコンテキストのハンドルを取得できませんでした。";
constexpr const char16_t kPixelFailed[] = u"色の取得に失敗しました。";

// WCAG 2.2: relative luminance from linearised sRGB, and
// (lighter + 0.05) / (darker + 0.05), 1 … 21. The marks judge the unrounded
// ratio: AA needs 4.5 for normal text and 3 for large text, AAA 7 and 4.5.
double relativeLuminance(Rgb c);
double contrastRatio(Rgb a, Rgb b);
struct WcagMarks {
    bool aaNormal = false;
    bool aaLarge = false;
    bool aaaNormal = false;
    bool aaaLarge = false;
};
WcagMarks wcagMarks(double ratio);
// "比 4.48:1  通常 AA× AAA×  大 AA○ AAA×"
QString ratioText(Rgb foreground, Rgb background);

}  // namespace ColourContrast
