#pragma once

#include <QVector>
#include <QtGlobal>

// A main-window command as a key press sees it: its own key and the copy
// its menu entry shows. The two differ after a Cancel of the settings
// dialog, which reloads the commands' keys but not the menu's; both work.
struct KeyedCommand {
    quint16 key = 0;
    quint16 menuKey = 0;
    bool enabled = false;
};

// The command a key runs, as an index into `commands` (in the order of the
// main window's action table), or -1. Nothing stops two commands from
// sharing a key; the first enabled one that answers to it runs.
int commandForKey(const QVector<KeyedCommand> &commands, quint16 key);
