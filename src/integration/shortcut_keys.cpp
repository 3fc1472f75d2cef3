#include "shortcut_keys.h"

#include <QFileInfo>

#include "integration/shortcut.h"
#include "platform/ini_file.h"

namespace {

using Shortcut::make;

constexpr quint16 ctrl(quint16 key) { return make(key, false, true); }
constexpr quint16 fkey(int n) { return static_cast<quint16>(Shortcut::VkF1 + n - 1); }

constexpr ShortcutRow rows[ShortcutRowCount] = {
    {u"Tidyの実行", u"Tidy", u"Tidy", u"HTMLTidy1", fkey(9), fkey(9)},
    {u"フォルダ一括", u"Folder", u"Folder", u"Folder1", fkey(10), fkey(10)},
    {u"CSS Validatorの実行", u"CSS", u"CSS", u"CSS1", fkey(11), fkey(11)},
    {u"リンクチェックの実行", u"LinkCheck", u"LinkCheck", u"Link1", fkey(12), fkey(12)},
    {u"IE", u"InternetEx", u"IE", u"InternetExplorer1", fkey(5), fkey(5)},
    {u"Opera", u"Opera", u"Opera", u"Opera1", fkey(6), fkey(6)},
    {u"Mozilla", u"Mozilla", u"Mozilla", u"Mozilla1", fkey(7), fkey(7)},
    {u"NetscapeCommunicator", u"NC", u"NC", u"NetscapeCommunicator1", fkey(8), fkey(8)},
    {u"カラーチェック", u"ColorChk", u"ColorChk", u"ColorContrast1", ctrl('C'), ctrl('C')},
    // Gray starts without a key but gets one from the reset.
    {u"グレイスケール", u"Gray", u"Gray", u"GrayScale1", 0, ctrl('G')},
    {u"テーブル線形化", u"Table", u"Table", u"TableLine1", ctrl('T'), ctrl('T')},
    {u"W3C Markup Validator", u"W3CExe", u"W3C", u"W3CMarkupValidator1", ctrl('W'), ctrl('W')},
    {u"Another HTML Lint", u"LintExe", u"Lint", u"AnotherHTMLLint1", ctrl('L'), ctrl('L')},
    {u"WDG HTML Validator", u"WDGExe", u"WDG", u"WDGHTMLValidator1", ctrl('D'), ctrl('D')},
    {u"CSS Validator", u"CSSExe", u"CSS_Up", u"CSSValidator1", ctrl('S'), ctrl('S')},
    {u"URLを指定", u"OpenURL1", u"OpenURL", u"URL1", ctrl('U'), ctrl('U')},
    {u"HTML5チェック(ローカル)", u"Nu", u"Nu", u"NuFile1", ctrl('5'), ctrl('5')},
};

// key.ini has always been written with Table before Gray; existing files and
// anyone comparing them keep that order.
constexpr std::array<int, ShortcutRowCount> iniOrder = {0, 1, 2,  3,  4,  5,  6,  7,  8,
                                                        10, 9, 11, 12, 13, 14, 15, 16};

const QString keySection = QStringLiteral("Key");
// The rows that every key.ini has held; later rows may be missing from one.
constexpr int rowsOfOlderFiles = 16;

bool inList(int row) { return row >= 0 && row < ShortcutRowCount; }

}  // namespace

const ShortcutRow &shortcutRow(int row) { return rows[inList(row) ? row : 0]; }

const std::array<int, ShortcutRowCount> &shortcutIniOrder() { return iniOrder; }

int shortcutRowOfAction(QStringView action)
{
    for (int row = 0; row < ShortcutRowCount; ++row) {
        if (rows[row].action == action)
            return row;
    }
    return -1;
}

ShortcutKeys ShortcutKeys::initial()
{
    ShortcutKeys keys;
    for (int row = 0; row < ShortcutRowCount; ++row)
        keys.m_values[row] = rows[row].initialKey;
    return keys;
}

void ShortcutKeys::restoreDefaults()
{
    for (int row = 0; row < ShortcutRowCount; ++row)
        m_values[row] = rows[row].resetKey;
}

quint16 ShortcutKeys::value(int row) const { return inList(row) ? m_values[row] : 0; }

void ShortcutKeys::setValue(int row, quint16 shortcut) { m_values[inList(row) ? row : 0] = shortcut; }

quint16 ShortcutKeys::valueForAction(QStringView action) const
{
    return value(shortcutRowOfAction(action));
}

bool ShortcutKeys::loadFromIni(const QString &keyIniPath)
{
    if (!QFileInfo::exists(keyIniPath))
        return false;
    IniFile ini(keyIniPath);
    const QString absent = QStringLiteral("\x01");
    for (int row = 0; row < ShortcutRowCount; ++row) {
        const QString key = rows[row].iniKey.toString();
        const QString text = ini.readString(keySection, key, absent);
        // A key.ini written before a command existed gives it its first key.
        m_values[row] = text == absent ? (row >= rowsOfOlderFiles ? rows[row].initialKey : 0)
                                       : textToShortcut(text);
    }
    return true;
}

bool ShortcutKeys::saveToIni(const QString &keyIniPath, QString *error) const
{
    // All of them in one replacement of the file: a program stopped half-way
    // must not leave a key.ini that lacks some keys, which every later start
    // would read as actions without a key.
    QVector<IniValue> values;
    for (int row : iniOrder)
        values.append({keySection, rows[row].iniKey.toString(), shortcutToText(m_values[row])});
    IniFile ini(keyIniPath);
    if (ini.writeStrings(values))
        return true;
    if (error)
        *error = ini.errorString();
    return false;
}
