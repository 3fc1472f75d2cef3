#pragma once

#include <QString>
#include <QtCore/qnamespace.h>
#include <QtGlobal>

// A shortcut is stored as a 16-bit value so that key.ini stays readable by
// and for the Windows program: a Windows virtual-key code in the low byte,
// plus a bit for each modifier. 0 means no shortcut.
namespace Shortcut {

constexpr quint16 ShiftBit = 0x2000;
constexpr quint16 CtrlBit = 0x4000;
constexpr quint16 AltBit = 0x8000;
constexpr quint16 ModifierBits = ShiftBit | CtrlBit | AltBit;

constexpr quint16 keyCode(quint16 shortcut) { return shortcut & 0xFF; }
constexpr quint16 modifiers(quint16 shortcut) { return shortcut & ModifierBits; }

// Windows virtual-key codes used by name in the program.
enum VirtualKey : quint16 {
    VkBack = 0x08,
    VkTab = 0x09,
    VkReturn = 0x0D,
    VkEscape = 0x1B,
    VkSpace = 0x20,
    VkPrior = 0x21,
    VkNext = 0x22,
    VkEnd = 0x23,
    VkHome = 0x24,
    VkLeft = 0x25,
    VkUp = 0x26,
    VkRight = 0x27,
    VkDown = 0x28,
    VkInsert = 0x2D,
    VkDelete = 0x2E,
    Vk0 = 0x30,
    VkA = 0x41,
    VkNumpad0 = 0x60,
    VkMultiply = 0x6A,
    VkAdd = 0x6B,
    VkSubtract = 0x6D,
    VkDecimal = 0x6E,
    VkDivide = 0x6F,
    VkF1 = 0x70,
    VkF24 = 0x87,
};

// Builds a value from a key code and modifier flags.
constexpr quint16 make(quint16 key, bool shift = false, bool ctrl = false, bool alt = false)
{
    return static_cast<quint16>((key & 0xFF) | (shift ? ShiftBit : 0) | (ctrl ? CtrlBit : 0) |
                                (alt ? AltBit : 0));
}

}  // namespace Shortcut

// The name of a key code without modifiers: "A", "F9", "PgUp", "Num *", ";"...
// Empty for a code that has no name.
QString keyCodeName(quint16 keyCode);

// "Shift+Ctrl+F5" and so on. A shortcut whose key has no name, and 0, give the
// empty text.
QString shortcutToText(quint16 shortcut);

// Reads the text form, forgiving case: leading "Shift+", "Ctrl+" (or "^") and
// "Alt+" are taken off one at a time, and the rest must be the name of a key
// code from 8 upwards; the lowest code with that name wins. Anything else
// gives 0.
quint16 textToShortcut(const QString &text);

// The hot-key field only accepts a key together with Ctrl or Alt: a key with
// no modifier, or with Shift alone, is taken with Alt instead ("F9" becomes
// Alt+F9, Shift+A becomes Alt+A). 0 stays 0.
quint16 captureRule(quint16 shortcut);

// A key press as Qt reports it, without needing the GUI module: a Qt::Key
// value and its modifiers.
struct QtKeyPress {
    int key = 0;
    Qt::KeyboardModifiers modifiers;
};

// Maps a Qt key press to a shortcut value. Returns 0 for a key that has no
// virtual-key code here and for a press of a modifier key alone. The Meta
// modifier has no place in the value and is dropped.
quint16 shortcutFromQtKey(int qtKey, Qt::KeyboardModifiers modifiers);

// The Qt key press for a shortcut value (number-pad codes carry
// Qt::KeypadModifier). A value without a known key gives key 0.
QtKeyPress shortcutToQtKey(quint16 shortcut);
