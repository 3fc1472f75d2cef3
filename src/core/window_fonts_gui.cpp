#include "core/window_fonts_gui.h"

#include <QStringList>

namespace WindowFonts {

QFont dialogFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("Noto Sans CJK JP"),
                      QStringLiteral("Noto Sans JP")});
    font.setPixelSize(12);
    return font;
}

QFont fixedFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("Noto Sans Mono CJK JP"),
                      QStringLiteral("Noto Sans Mono")});
    font.setPixelSize(12);
    font.setStyleHint(QFont::Monospace);
    return font;
}

}  // namespace WindowFonts
