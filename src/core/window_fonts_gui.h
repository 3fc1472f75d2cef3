#pragma once

#include <QFont>

// The fonts the windows were designed with. The Windows fonts come first so
// a desktop that has them uses them; elsewhere the Noto CJK fonts of the
// same style stand in (fonts-noto-cjk).
namespace WindowFonts {
// "ＭＳ Ｐゴシック", 12 pixels.
QFont dialogFont();
// "ＭＳ ゴシック", 12 pixels, fixed pitch: paths and key texts.
QFont fixedFont();
}  // namespace WindowFonts
