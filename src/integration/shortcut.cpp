#include "shortcut.h"

#include <cstddef>

namespace {

using namespace Shortcut;

struct NamedKey {
    quint16 code;
    const char *name;
};

// Keys beyond letters, digits and function keys. The first block has fixed
// names; the rest are the names a US keyboard layout gives these keys. The
// number-pad slash is called "Num /" although Windows, asked without the
// extended-key flag, calls it "/" like the main slash: with one name for both,
// a saved "Ctrl+/" would read back as the number-pad key.
constexpr NamedKey namedKeys[] = {
    {VkBack, "BkSp"},
    {VkTab, "Tab"},
    {VkReturn, "Enter"},
    {VkEscape, "Esc"},
    {VkSpace, "Space"},
    {VkPrior, "PgUp"},
    {VkNext, "PgDn"},
    {VkEnd, "End"},
    {VkHome, "Home"},
    {VkLeft, "Left"},
    {VkUp, "Up"},
    {VkRight, "Right"},
    {VkDown, "Down"},
    {VkInsert, "Ins"},
    {VkDelete, "Del"},
    {VkMultiply, "Num *"},
    {VkAdd, "Num +"},
    {VkSubtract, "Num -"},
    {VkDecimal, "Num Del"},
    {VkDivide, "Num /"},
    {0xBA, ";"},
    {0xBB, "="},
    {0xBC, ","},
    {0xBD, "-"},
    {0xBE, "."},
    {0xBF, "/"},
    {0xC0, "`"},
    {0xDB, "["},
    {0xDC, "\\"},
    {0xDD, "]"},
    {0xDE, "'"},
};

// Takes a case-blind prefix off the front of *rest.
bool takePrefix(QStringView *rest, QStringView prefix)
{
    if (!rest->startsWith(prefix, Qt::CaseInsensitive))
        return false;
    *rest = rest->mid(prefix.size());
    return true;
}

struct QtKeyCode {
    int qtKey;
    quint16 code;
};

// Qt keys whose virtual-key code is not their own value. Entries later in the
// table only serve the Qt-to-code direction: the first entry for a code is the
// one a shortcut maps back to.
constexpr QtKeyCode qtKeyCodes[] = {
    {Qt::Key_Backspace, VkBack},
    {Qt::Key_Tab, VkTab},
    {Qt::Key_Return, VkReturn},
    {Qt::Key_Escape, VkEscape},
    {Qt::Key_Space, VkSpace},
    {Qt::Key_PageUp, VkPrior},
    {Qt::Key_PageDown, VkNext},
    {Qt::Key_End, VkEnd},
    {Qt::Key_Home, VkHome},
    {Qt::Key_Left, VkLeft},
    {Qt::Key_Up, VkUp},
    {Qt::Key_Right, VkRight},
    {Qt::Key_Down, VkDown},
    {Qt::Key_Insert, VkInsert},
    {Qt::Key_Delete, VkDelete},
    {Qt::Key_Semicolon, 0xBA},
    {Qt::Key_Equal, 0xBB},
    {Qt::Key_Comma, 0xBC},
    {Qt::Key_Minus, 0xBD},
    {Qt::Key_Period, 0xBE},
    {Qt::Key_Slash, 0xBF},
    {Qt::Key_QuoteLeft, 0xC0},
    {Qt::Key_BracketLeft, 0xDB},
    {Qt::Key_Backslash, 0xDC},
    {Qt::Key_BracketRight, 0xDD},
    {Qt::Key_Apostrophe, 0xDE},
    // Shift+Tab arrives as Backtab; the keypad Enter as Enter.
    {Qt::Key_Backtab, VkTab},
    {Qt::Key_Enter, VkReturn},
    // Qt reports a shifted punctuation key by the character it types. These
    // are the US-layout pairs; the stored code is that of the unshifted key.
    {Qt::Key_Exclam, Vk0 + 1},
    {Qt::Key_At, Vk0 + 2},
    {Qt::Key_NumberSign, Vk0 + 3},
    {Qt::Key_Dollar, Vk0 + 4},
    {Qt::Key_Percent, Vk0 + 5},
    {Qt::Key_AsciiCircum, Vk0 + 6},
    {Qt::Key_Ampersand, Vk0 + 7},
    {Qt::Key_Asterisk, Vk0 + 8},
    {Qt::Key_ParenLeft, Vk0 + 9},
    {Qt::Key_ParenRight, Vk0},
    {Qt::Key_Colon, 0xBA},
    {Qt::Key_Plus, 0xBB},
    {Qt::Key_Less, 0xBC},
    {Qt::Key_Underscore, 0xBD},
    {Qt::Key_Greater, 0xBE},
    {Qt::Key_Question, 0xBF},
    {Qt::Key_AsciiTilde, 0xC0},
    {Qt::Key_BraceLeft, 0xDB},
    {Qt::Key_Bar, 0xDC},
    {Qt::Key_BraceRight, 0xDD},
    {Qt::Key_QuoteDbl, 0xDE},
};

// Number-pad keys: Qt reports the character with Qt::KeypadModifier.
constexpr QtKeyCode qtKeypadCodes[] = {
    {Qt::Key_Asterisk, VkMultiply}, {Qt::Key_Plus, VkAdd},     {Qt::Key_Minus, VkSubtract},
    {Qt::Key_Period, VkDecimal},    {Qt::Key_Comma, VkDecimal}, {Qt::Key_Slash, VkDivide},
};

// The first Qt key of a table that maps to the code, or 0.
template <std::size_t N>
int qtKeyFor(const QtKeyCode (&table)[N], quint16 code)
{
    for (const QtKeyCode &k : table) {
        if (k.code == code)
            return k.qtKey;
    }
    return 0;
}

}  // namespace

QString keyCodeName(quint16 keyCode)
{
    if (keyCode >= VkA && keyCode < VkA + 26)
        return QString(QChar(u'A' + (keyCode - VkA)));
    if (keyCode >= Vk0 && keyCode < Vk0 + 10)
        return QString(QChar(u'0' + (keyCode - Vk0)));
    // The number-pad digits share the names of the main ones.
    if (keyCode >= VkNumpad0 && keyCode < VkNumpad0 + 10)
        return QString(QChar(u'0' + (keyCode - VkNumpad0)));
    if (keyCode >= VkF1 && keyCode <= VkF24)
        return QStringLiteral("F") + QString::number(keyCode - VkF1 + 1);
    for (const NamedKey &k : namedKeys) {
        if (k.code == keyCode)
            return QString::fromLatin1(k.name);
    }
    return {};
}

QString shortcutToText(quint16 shortcut)
{
    const QString name = keyCodeName(keyCode(shortcut));
    if (name.isEmpty())
        return {};
    QString text;
    if (shortcut & ShiftBit)
        text += QStringLiteral("Shift+");
    if (shortcut & CtrlBit)
        text += QStringLiteral("Ctrl+");
    if (shortcut & AltBit)
        text += QStringLiteral("Alt+");
    return text + name;
}

quint16 textToShortcut(const QString &text)
{
    QStringView rest(text);
    quint16 mods = 0;
    for (;;) {
        if (takePrefix(&rest, u"Shift+"))
            mods |= ShiftBit;
        else if (takePrefix(&rest, u"^") || takePrefix(&rest, u"Ctrl+"))
            mods |= CtrlBit;
        else if (takePrefix(&rest, u"Alt+"))
            mods |= AltBit;
        else
            break;
    }
    if (rest.isEmpty())
        return 0;
    // Lowest code first, so "5" is the main digit and not the number-pad one.
    for (quint16 code = 8; code <= 0xFF; ++code) {
        const QString name = keyCodeName(code);
        if (!name.isEmpty() && rest.compare(name, Qt::CaseInsensitive) == 0)
            return code | mods;
    }
    return 0;
}

quint16 captureRule(quint16 shortcut)
{
    const quint16 code = keyCode(shortcut);
    if (code == 0)
        return 0;
    const quint16 mods = modifiers(shortcut);
    if (mods == 0 || mods == ShiftBit)
        return code | AltBit;
    return code | mods;
}

quint16 shortcutFromQtKey(int qtKey, Qt::KeyboardModifiers modifiers)
{
    quint16 code = 0;
    if (modifiers & Qt::KeypadModifier) {
        if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
            code = static_cast<quint16>(VkNumpad0 + (qtKey - Qt::Key_0));
        for (const QtKeyCode &k : qtKeypadCodes) {
            if (k.qtKey == qtKey)
                code = k.code;
        }
    }
    if (code == 0) {
        if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) ||
            (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)) {
            code = static_cast<quint16>(qtKey);  // Qt and Windows agree on these
        } else if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) {
            code = static_cast<quint16>(VkF1 + (qtKey - Qt::Key_F1));
        } else {
            for (const QtKeyCode &k : qtKeyCodes) {
                if (k.qtKey == qtKey) {
                    code = k.code;
                    break;
                }
            }
        }
    }
    if (code == 0)
        return 0;
    return Shortcut::make(code, modifiers.testFlag(Qt::ShiftModifier),
                          modifiers.testFlag(Qt::ControlModifier),
                          modifiers.testFlag(Qt::AltModifier));
}

QtKeyPress shortcutToQtKey(quint16 shortcut)
{
    QtKeyPress press;
    const quint16 code = keyCode(shortcut);
    if ((code >= VkA && code < VkA + 26) || (code >= Vk0 && code < Vk0 + 10)) {
        press.key = code;
    } else if (code >= VkNumpad0 && code < VkNumpad0 + 10) {
        press.key = Qt::Key_0 + (code - VkNumpad0);
        press.modifiers |= Qt::KeypadModifier;
    } else if (code >= VkF1 && code <= VkF24) {
        press.key = Qt::Key_F1 + (code - VkF1);
    } else {
        press.key = qtKeyFor(qtKeypadCodes, code);
        if (press.key != 0)
            press.modifiers |= Qt::KeypadModifier;
        else
            press.key = qtKeyFor(qtKeyCodes, code);
    }
    if (press.key == 0)
        return {};
    if (shortcut & ShiftBit)
        press.modifiers |= Qt::ShiftModifier;
    if (shortcut & CtrlBit)
        press.modifiers |= Qt::ControlModifier;
    if (shortcut & AltBit)
        press.modifiers |= Qt::AltModifier;
    return press;
}
