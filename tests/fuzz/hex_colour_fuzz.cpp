// Arbitrary text as a colour: accepted only when its first six characters
// after an optional "#" are ASCII hex digits, and printed as "#RRGGBB".

#include "access/colour_contrast.h"
#include "access/contrast_rows.h"
#include "fuzz_target.h"

namespace {

bool isHex(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

}  // namespace

void fuzzBytes(const QByteArray &bytes)
{
    const QString text = QString::fromUtf8(bytes);
    const std::optional<Rgb> colour = ColourContrast::parseHex(text);
    const QString digits = text.startsWith(u'#') ? text.mid(1, 6) : text.left(6);
    bool allHex = digits.size() == 6;
    for (QChar c : digits) allHex = allHex && isHex(c);
    check(colour.has_value() == allHex);
    if (!colour) return;
    const QString printed = ColourContrast::hexText(*colour);
    check(printed.size() == 7 && printed == printed.toUpper());
    check(ColourContrast::parseHex(printed) == colour);
    for (const ContrastRow &row :
         contrastRows(*colour, rgbFromValue(0xFFFFFF - rgbValue(*colour)))) {
        const double ratio = ColourContrast::contrastRatio(row.foreground, row.background);
        check(ratio >= 1 && ratio <= 21.0001);
    }
}
