#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <array>

// One row of the shortcut list of the settings dialog: the main-window action
// it changes, where its key is stored and which menu entry shows it.
struct ShortcutRow {
    QStringView caption;    // "動作" column of the list
    QStringView action;     // name of the main-window action
    QStringView iniKey;     // entry in the [Key] section of key.ini
    QStringView menuEntry;  // menu entry that mirrors the action's key
    quint16 initialKey;     // key the action has when the main window is created
    quint16 resetKey;       // key after "キーを初期値に戻す"
};

constexpr int ShortcutRowCount = 17;

// The row of the list; a row number outside the list gives row 0 (Tidy).
const ShortcutRow &shortcutRow(int row);

// Row numbers in the order their entries are written to key.ini, which is
// not quite the list order (Table comes before Gray).
const std::array<int, ShortcutRowCount> &shortcutIniOrder();

// The row of an action by its name, or -1.
int shortcutRowOfAction(QStringView action);

// The current keys of the shortcut actions, by list row.
class ShortcutKeys {
public:
    // Every action without a key; see initial() for the keys of a new window.
    ShortcutKeys() = default;

    static ShortcutKeys initial();

    // Every action takes the key of the reset column (Gray gets Ctrl+G, which
    // it does not have at first).
    void restoreDefaults();

    // 0 for a row number outside the list.
    quint16 value(int row) const;
    // A row number outside the list changes row 0, the Tidy action.
    void setValue(int row, quint16 shortcut);
    // 0 for an action that is not in the list.
    quint16 valueForAction(QStringView action) const;

    // Does nothing and returns false when the file does not exist. Otherwise
    // every row takes the key stored under its entry; a missing or unreadable
    // entry leaves the row without a key, except that a command newer than
    // the file (HTML5チェック) missing from it keeps its first key.
    bool loadFromIni(const QString &keyIniPath);

    // Writes every entry in the key.ini order, an empty value for a
    // row without a key, in one replacement of the file. Other sections and
    // lines of the file are kept.
    bool saveToIni(const QString &keyIniPath, QString *error = nullptr) const;

    bool operator==(const ShortcutKeys &other) const { return m_values == other.m_values; }
    bool operator!=(const ShortcutKeys &other) const { return !(*this == other); }

private:
    std::array<quint16, ShortcutRowCount> m_values{};
};
