#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <cstdint>

// The colour selector's palette and where windows of the colour check open.
namespace ColourPalette {

// 7 rows of 8, row by row.
constexpr int kColumns = 8;
constexpr int kCount = 56;
extern const std::uint32_t kColours[kCount];

constexpr QSize kPaletteSize{168, 172};
// Button i of the grid, 20 × 20.
QRect buttonRect(int index);

// Under the selector's bottom-left corner; pushed left to the screen's right
// edge when it would pass it; above the selector when it would pass the
// bottom edge. `selector` is in screen coordinates.
QPoint palettePosition(const QRect &selector, const QSize &screen,
                       const QSize &palette = kPaletteSize);

// The window centred on the screen, halves toward zero.
QPoint centred(const QSize &screen, const QSize &window);

}  // namespace ColourPalette
