#pragma once

class ShortcutKeys;

// Whoever shows the shortcut keys of the main window's commands: the keys
// act on the commands at once, and menu entries show a copy of them.
class ShortcutTarget {
public:
    virtual ~ShortcutTarget() = default;
    // Gives every command its key; with mirrorToMenus the menu entries show
    // (and answer to) the same keys.
    virtual void applyShortcuts(const ShortcutKeys &keys, bool mirrorToMenus) = 0;
};
