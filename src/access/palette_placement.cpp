#include "access/palette_placement.h"

namespace ColourPalette {

const std::uint32_t kColours[kCount] = {
    0x000000, 0x808080, 0x400000, 0x404000, 0x004000, 0x004040, 0x000040, 0x400040,
    0x202020, 0x909090, 0x800000, 0x808000, 0x008000, 0x008080, 0x000080, 0x800080,
    0x303030, 0xA0A0A0, 0xC00000, 0xC0C000, 0x00C000, 0x00C0C0, 0x0000C0, 0xC000C0,
    0x404040, 0xB0B0B0, 0xFF0000, 0xFFFF00, 0x00FF00, 0x00FFFF, 0x0000FF, 0xFF00FF,
    0x505050, 0xC0C0C0, 0xFF4040, 0xFFFF40, 0x40FF40, 0x40FFFF, 0x4040FF, 0xFF40FF,
    0x606060, 0xD0D0D0, 0xFF8080, 0xFFFF80, 0x80FF80, 0x80FFFF, 0x8080FF, 0xFF80FF,
    0x707070, 0xFFFFFF, 0xFFC0C0, 0xFFFFC0, 0xC0FFC0, 0xC0FFFF, 0xC0C0FF, 0xFFC0FF,
};

QRect buttonRect(int index)
{
    return QRect(5 + 20 * (index % kColumns), 5 + 20 * (index / kColumns), 20, 20);
}

QPoint palettePosition(const QRect &selector, const QSize &screen, const QSize &palette)
{
    // QRect::bottom() is the last row inside; the corner lies below it.
    QPoint pos(selector.left(), selector.top() + selector.height());
    if (pos.x() + palette.width() > screen.width()) pos.setX(screen.width() - palette.width());
    if (pos.y() + palette.height() > screen.height()) pos.setY(selector.top() - palette.height());
    return pos;
}

QPoint centred(const QSize &screen, const QSize &window)
{
    return QPoint((screen.width() - window.width()) / 2, (screen.height() - window.height()) / 2);
}

}  // namespace ColourPalette
