#include "core/window_fonts_gui.h"

#include <QFontDatabase>
#include <QStringList>

namespace WindowFonts {

namespace {

// A family the system lacks is not free to ask for: Qt looks it up, fails,
// and has fontconfig sort every font as a fallback for it, each time a
// font of the window is resolved (per size and per script). The families
// are therefore checked once, and only those that are there are asked for,
// in the same order; the first one present is the face shown either way.
QStringList presentFamilies(const QStringList &wanted)
{
    QStringList present;
    for (const QString &family : wanted)
        if (QFontDatabase::hasFamily(family))
            present << family;
    return present.isEmpty() ? wanted : present;
}

}  // namespace

QFont dialogFont()
{
    static const QStringList families =
        presentFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("Noto Sans CJK JP"),
                         QStringLiteral("Noto Sans JP")});
    QFont font;
    font.setFamilies(families);
    font.setPixelSize(12);
    return font;
}

QFont fixedFont()
{
    static const QStringList families =
        presentFamilies({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("Noto Sans Mono CJK JP"),
                         QStringLiteral("Noto Sans Mono")});
    QFont font;
    font.setFamilies(families);
    font.setPixelSize(12);
    font.setStyleHint(QFont::Monospace);
    return font;
}

}  // namespace WindowFonts
