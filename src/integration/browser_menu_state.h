#pragma once

#include <QString>

// The "組み込む" (add) and "解除" (remove) buttons of one menu entry; of a
// pair, the one that applies is enabled. `keep` leaves both buttons as they
// are (an entry that is there but not ours).
struct MenuButtonStates {
    bool addEnabled = true;
    bool removeEnabled = false;
    bool keep = false;

    static MenuButtonStates absent() { return {true, false, false}; }
    static MenuButtonStates present() { return {false, true, false}; }
    static MenuButtonStates unchanged() { return {true, true, true}; }
};

// Internet Explorer's entry is the key of RegistryStore that names the script
// page of the program folder: no key offers "add", our page offers "remove",
// a key naming another page keeps the buttons.
MenuButtonStates ieMenuButtonStates();

// Opera's entry is the key "Item, Velmarin" in the section
// "Document Popup Menu" of the menu file remembered as [Opera] OptionFile.
// An empty or vanished file offers "add".
MenuButtonStates operaMenuButtonStates(const QString &optionFile);
