#include "integration/shortcut.h"

#include "integration/shortcut_keys.h"
#include "support/test.h"

namespace {

constexpr int Shift = Shortcut::ShiftBit;
constexpr int Ctrl = Shortcut::CtrlBit;
constexpr int Alt = Shortcut::AltBit;

constexpr quint16 F(int n)
{
    return static_cast<quint16>(0x70 + n - 1);
}

}  // namespace

// A key's text both ways, or one way only: texts are read without regard to
// case and with "^" for Ctrl; digits are read as the main-keyboard key; a key
// without a name gives no text even with modifiers.
TEST(ShortcutText, ModifiersInFixedOrderBeforeTheKeyName)
{
    enum Way { Both, Writes, Reads };
    const struct {
        quint16 value;
        const char *text;
        Way way;
    } cases[] = {{0, "", Both},
                 {F(24), "F24", Both},
                 {Shift | Ctrl | Alt | '0', "Shift+Ctrl+Alt+0", Both},
                 {Alt | 0x24, "Alt+Home", Both},
                 {0x22, "PgDn", Both},
                 {Ctrl | 0xBA, "Ctrl+;", Both},
                 {Ctrl | 0xBD, "Ctrl+-", Both},
                 {0xDC, "\\", Both},
                 {0x6A, "Num *", Both},
                 {0x65, "5", Writes},
                 {Ctrl | 0x10, "", Writes},
                 {Alt | 0xFF, "", Writes},
                 {Ctrl | 'T', "ctrl+t", Reads},
                 {Ctrl | F(9), "^F9", Reads},
                 {Shift | Alt | 0x22, "ALT+SHIFT+pgdn", Reads},
                 {Ctrl | 0x6E, "^^num del", Reads},
                 {'5', "5", Reads},
                 {0, "Ctrl+", Reads},
                 {0, "Hyper+Q", Reads},
                 {0, "Ctrl+F25", Reads},
                 {0, "Ctrl+ A", Reads},
                 {0, "Shift", Reads}};
    for (const auto &c : cases) {
        if (c.way != Reads) {
            EXPECT_EQ(shortcutToText(c.value), c.text) << "value " << c.value;
        }
        if (c.way != Writes) {
            EXPECT_EQ(textToShortcut(c.text), c.value) << "text " << c.text;
        }
    }

    // Every named key reads back as itself (number-pad digits as main-keyboard ones).
    for (quint16 code = 8; code <= 0xFF; ++code) {
        if (keyCodeName(code).isEmpty()) continue;
        const bool numpadDigit = code >= 0x60 && code <= 0x69;
        const quint16 expected = numpadDigit ? static_cast<quint16>(code - 0x60 + '0') : code;
        for (int mods : {0, Shift | Ctrl, Alt, Shift | Ctrl | Alt})
            EXPECT_EQ(textToShortcut(shortcutToText(code | mods)), expected | mods) << code;
    }
}

TEST(ShortcutCapture, KeyAloneOrWithShiftOnlyIsTakenWithAlt)
{
    const struct {
        quint16 pressed, taken;
    } cases[] = {{F(9), Alt | F(9)},
                 {Shift | 'A', Alt | 'A'},
                 {Ctrl | 'A', Ctrl | 'A'},
                 {Shift | Ctrl | 'A', Shift | Ctrl | 'A'},
                 {Shift | Alt | F(1), Shift | Alt | F(1)},
                 {Alt | 'X', Alt | 'X'},
                 {0, 0},
                 {Ctrl, 0}};
    for (const auto &c : cases)
        EXPECT_EQ(captureRule(c.pressed), c.taken) << "pressed " << c.pressed;
}

// Qt names a shifted key by what it types, Shift+Tab is Backtab; number-pad
// navigation (Num Lock off) is the ordinary key; Meta has no bit; a modifier
// pressed alone and keys without a code give none.
TEST(ShortcutQtKeys, MapsQtKeyPressesToCodesAndBack)
{
    const Qt::KeyboardModifiers none, keypad = Qt::KeypadModifier;
    const auto shift = Qt::ShiftModifier, ctrl = Qt::ControlModifier, alt = Qt::AltModifier,
               meta = Qt::MetaModifier;
    const struct {
        int qtKey;
        Qt::KeyboardModifiers mods;
        quint16 value;
        bool backAgain;  // the value gives this very key press back
    } cases[] = {{Qt::Key_A, ctrl, Ctrl | 'A', true},
                 {Qt::Key_F9, none, F(9), true},
                 {Qt::Key_Home, alt, Alt | 0x24, true},
                 {Qt::Key_F24, shift | ctrl, Shift | Ctrl | F(24), true},
                 {Qt::Key_Return, none, 0x0D, true},
                 {Qt::Key_Semicolon, ctrl, Ctrl | 0xBA, true},
                 {Qt::Key_5, keypad, 0x65, true},
                 {Qt::Key_Asterisk, keypad | ctrl, Ctrl | 0x6A, true},
                 {Qt::Key_Slash, keypad, 0x6F, true},
                 {Qt::Key_Exclam, shift | ctrl, Shift | Ctrl | '1', false},
                 {Qt::Key_Plus, shift | alt, Shift | Alt | 0xBB, false},
                 {Qt::Key_Backtab, shift | ctrl, Shift | Ctrl | 0x09, false},
                 {Qt::Key_Enter, keypad, 0x0D, false},
                 {Qt::Key_Home, keypad, 0x24, false},
                 {Qt::Key_B, meta | ctrl, Ctrl | 'B', false},
                 {Qt::Key_Control, ctrl, 0, false},
                 {Qt::Key_F25, none, 0, false},
                 {Qt::Key_Eacute, none, 0, false}};
    for (const auto &c : cases) {
        EXPECT_EQ(shortcutFromQtKey(c.qtKey, c.mods), c.value) << "Qt key " << c.qtKey;
        if (!c.backAgain) continue;
        const QtKeyPress back = shortcutToQtKey(c.value);
        EXPECT_EQ(back.key, c.qtKey) << "value " << c.value;
        EXPECT_EQ(back.modifiers, c.mods) << "value " << c.value;
    }
    for (const quint16 nameless : {Ctrl | 0xFF, 0}) {
        EXPECT_EQ(shortcutToQtKey(nameless).key, 0);
        EXPECT_EQ(shortcutToQtKey(nameless).modifiers, none);
    }
}

TEST(ShortcutKeys, RowRules)
{
    ShortcutKeys keys = ShortcutKeys::initial();
    EXPECT_EQ(keys.valueForAction(u"ChmOpen"), 0);  // help has no shortcut row
    EXPECT_EQ(keys.value(17), 0);
    EXPECT_EQ(keys.value(-1), 0);
    // Two actions may share a key.
    keys.setValue(10, Ctrl | 'C');
    EXPECT_EQ(keys.valueForAction(u"Table"), Ctrl | 'C');
    EXPECT_EQ(keys.valueForAction(u"ColorChk"), Ctrl | 'C');
    // A row outside the list is Tidy's; action names are matched exactly.
    keys.setValue(99, Alt | 'Q');
    keys.setValue(-1, Alt | 'R');
    EXPECT_EQ(keys.value(0), Alt | 'R');
    EXPECT_EQ(shortcutRow(42).action.toString(), "Tidy");
    EXPECT_EQ(shortcutRowOfAction(u"tidy"), -1);
}

TEST(ShortcutKeyIni, WritesEveryEntryInOrderKeepsOtherLinesAndReadsBack)
{
    TempHome home;
    const QString path = home.file("key.ini");
    QString error;
    ASSERT_TRUE(ShortcutKeys::initial().saveToIni(path, &error)) << error.toStdString();
    QByteArray golden = readWholeFile(testDataPath("shortcut_key.ini"));
    EXPECT_EQ(home.read("key.ini"), golden);
    // Restoring gives the initial keys, except that gray-scale gets Ctrl+G.
    ShortcutKeys keys;
    keys.restoreDefaults();
    ASSERT_TRUE(keys.saveToIni(path));
    EXPECT_EQ(home.read("key.ini"), golden.replace("Gray=\r\n", "Gray=Ctrl+G\r\n"));

    // An entry keeps its place in the file; other lines stay.
    home.write("key.ini", "; kept\r\n[Key]\r\nGray=Ctrl+G\r\n[Other]\r\nx=1\r\n");
    keys = ShortcutKeys::initial();
    keys.setValue(0, Shift | Ctrl | Alt | 0x6A);
    keys.setValue(3, 0);
    keys.setValue(9, Alt | 0xDC);
    keys.setValue(15, Ctrl | 0x20);
    ASSERT_TRUE(keys.saveToIni(path));
    ShortcutKeys loaded;
    ASSERT_TRUE(loaded.loadFromIni(path));
    EXPECT_EQ(loaded, keys);
    const QByteArray text = home.read("key.ini");
    EXPECT_TRUE(text.startsWith("; kept\r\n[Key]\r\nGray=Alt+\\\r\nTidy=Shift+Ctrl+Alt+Num *\r\n"))
        << text.constData();
    EXPECT_TRUE(text.contains("LinkCheck=\r\n"));
    EXPECT_TRUE(text.endsWith("[Other]\r\nx=1\r\n"));

    // Entries in any order; missing or empty ones are no key, except a
    // command newer than the file.
    home.write("key.ini", "[Key]\r\nTidy=\r\nTable=ctrl+b\r\nFolder=Alt+F10\r\n");
    keys = ShortcutKeys::initial();
    ASSERT_TRUE(keys.loadFromIni(path));
    EXPECT_EQ(keys.valueForAction(u"Tidy"), 0);
    EXPECT_EQ(keys.valueForAction(u"Table"), Ctrl | 'B');
    EXPECT_EQ(keys.valueForAction(u"Folder"), Alt | F(10));
    EXPECT_EQ(keys.valueForAction(u"OpenURL1"), 0);
    EXPECT_EQ(keys.valueForAction(u"Nu"), Ctrl | '5');

    // A missing file changes nothing; a write that cannot happen says so.
    keys = ShortcutKeys::initial();
    EXPECT_FALSE(keys.loadFromIni(home.file("none.ini")));
    EXPECT_EQ(keys, ShortcutKeys::initial());
    home.write("blocker", "x");
    EXPECT_FALSE(keys.saveToIni(home.file("blocker/key.ini"), &error));
    EXPECT_FALSE(error.isEmpty());
}
