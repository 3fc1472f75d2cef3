#include "access/contrast_rows.h"

#include "access/dichromacy.h"

std::array<ContrastRow, 4> contrastRows(Rgb foreground, Rgb background)
{
    static const char16_t *const titles[4] = {u"一般的な色覚:", u"第一色盲:", u"第二色盲:",
                                              u"第三色盲:"};
    std::array<ContrastRow, 4> rows;
    for (int kind = 0; kind < 4; ++kind) {
        ContrastRow &row = rows[kind];
        row.title = QString::fromUtf16(titles[kind]);
        row.foreground = Dichromacy::simulate(foreground, kind);
        row.background = Dichromacy::simulate(background, kind);
        row.result = ColourContrast::resultText(row.foreground, row.background);
        row.ratio = ColourContrast::ratioText(row.foreground, row.background);
    }
    return rows;
}
