#pragma once

#include <QString>
#include <array>

#include "access/colour_contrast.h"

// The four rows of the colour check: normal colour vision and the three
// kinds of dichromacy, each with the pair as seen in that row.
struct ContrastRow {
    QString title;  // "一般的な色覚:" …
    Rgb foreground;
    Rgb background;
    QString result;  // "明度差 :255 色差 :765"
    QString ratio;   // "比 21.00:1  通常 AA○ AAA○  大 AA○ AAA○"
};

std::array<ContrastRow, 4> contrastRows(Rgb foreground, Rgb background);
