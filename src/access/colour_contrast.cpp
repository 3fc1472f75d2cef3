#include "access/colour_contrast.h"

#include <cmath>
#include <cstdlib>

namespace ColourContrast {

int brightness(Rgb c)
{
    return (c.r * 299 + c.g * 587 + c.b * 114) / 1000;
}

int brightnessDifference(Rgb a, Rgb b)
{
    return std::abs(brightness(a) - brightness(b));
}

int colourDifference(Rgb a, Rgb b)
{
    return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
}

QString resultText(Rgb foreground, Rgb background)
{
    return QStringLiteral("明度差 :%1 色差 :%2")
        .arg(brightnessDifference(foreground, background))
        .arg(colourDifference(foreground, background));
}

QString hexText(Rgb c)
{
    return QStringLiteral("#%1").arg(rgbValue(c), 6, 16, QLatin1Char('0')).toUpper();
}

namespace {

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9') return u - u'0';
    if (u >= u'a' && u <= u'f') return u - u'a' + 10;
    if (u >= u'A' && u <= u'F') return u - u'A' + 10;
    return -1;  // full-width digits and everything else
}

}  // namespace

std::optional<Rgb> parseHex(const QString &text)
{
    const int start = text.startsWith(QLatin1Char('#')) ? 1 : 0;
    if (text.size() - start < 6) return std::nullopt;
    int channel[3];
    for (int i = 0; i < 3; ++i) {
        const int high = hexDigit(text.at(start + 2 * i));
        const int low = hexDigit(text.at(start + 2 * i + 1));
        if (high < 0 || low < 0) return std::nullopt;
        channel[i] = high * 16 + low;
    }
    return Rgb{std::uint8_t(channel[0]), std::uint8_t(channel[1]), std::uint8_t(channel[2])};
}

QString rgbText(Rgb foreground, Rgb background)
{
    return QStringLiteral("前景色: %1,%2,%3  背景色: %4,%5,%6")
        .arg(foreground.r)
        .arg(foreground.g)
        .arg(foreground.b)
        .arg(background.r)
        .arg(background.g)
        .arg(background.b);
}

QString cssText(Rgb foreground, Rgb background)
{
    return QStringLiteral("color: ") + hexText(foreground) +
           QStringLiteral("\r\nbackground-color: ") + hexText(background);
}

namespace {

double linear(std::uint8_t channel)
{
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

}  // namespace

double relativeLuminance(Rgb c)
{
    return 0.2126 * linear(c.r) + 0.7152 * linear(c.g) + 0.0722 * linear(c.b);
}

double contrastRatio(Rgb a, Rgb b)
{
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

WcagMarks wcagMarks(double ratio)
{
    return WcagMarks{ratio >= 4.5, ratio >= 3.0, ratio >= 7.0, ratio >= 4.5};
}

QString ratioText(Rgb foreground, Rgb background)
{
    const double ratio = contrastRatio(foreground, background);
    const WcagMarks m = wcagMarks(ratio);
    auto mark = [](bool ok) { return ok ? QStringLiteral("○") : QStringLiteral("×"); };
    return QStringLiteral("比 %1:1  通常 AA%2 AAA%3  大 AA%4 AAA%5")
        .arg(QString::number(ratio, 'f', 2), mark(m.aaNormal), mark(m.aaaNormal), mark(m.aaLarge),
             mark(m.aaaLarge));
}

}  // namespace ColourContrast
