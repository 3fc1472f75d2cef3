#pragma once

#include <QString>

// The "組み込む" (add) and "解除" (remove) buttons of one browser's
// right-click menu entry; of a pair, the one that applies is enabled.
struct MenuButtonStates {
    bool addEnabled = true;
    bool removeEnabled = false;
};

// Internet Explorer's entry lives in the registry, which this platform does
// not have yet: the entry is never in place, so only "add" is offered.
MenuButtonStates ieMenuButtonStates();

// Opera's entry is the key "Item, Velmarin" in the section
// "Document Popup Menu" of the menu file remembered as [Opera] OptionFile.
// An empty or vanished file offers "add".
MenuButtonStates operaMenuButtonStates(const QString &optionFile);
