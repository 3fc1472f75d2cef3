#pragma once

#include "access/colour_contrast.h"

// How a colour looks to a reader with one of three kinds of dichromacy:
// 1 protanopia ("第一色盲"), 2 deuteranopia ("第二色盲"), 3 tritanopia
// ("第三色盲"). Any other kind returns the colour unchanged.
namespace Dichromacy {

struct Row {
    std::uint32_t colour;
    std::uint32_t seen[3];  // kinds 1, 2, 3
};

// The fixed results: 216 web-safe rows, R then G then B each from FF down to
// 00, then twelve further named colours.
constexpr int kWebSafeRows = 216;
constexpr int kTableRows = 228;
extern const Row kTable[kTableRows];

// Black stays black; a colour of the table takes its row; any other colour
// is computed.
Rgb simulate(Rgb c, int kind);

// The projection onto the kind's confusion axis in CIE u/v, without the table.
Rgb compute(Rgb c, int kind);

// The table row of a colour, or nullptr.
const Row *tableRow(Rgb c);

}  // namespace Dichromacy
