#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

#include "integration/browser_menu_state.h"

class MenuEntryPrompts;

// Opera's right-click menu entry: the key "Item, Velmarin" of the section
// "Document Popup Menu" in Opera's menu file (standard_menu.ini), which has
// Opera run the program with "/op" and the page's address. The Opera used and
// the menu file written are remembered in Velmarin.ini ([Opera] Path and
// OptionFile).
namespace OperaMenu {

// The entry's value: Execute program, "<program>", "/op %u".
QString entryValue(const QString &programPath);
// <folder of the executable>/defaults/standard_menu.ini
QString menuFileBeside(const QString &operaPath);

// The version an executable prints for --version: its first number
// ("12.16"), "UnKnown" when it prints none, empty when it cannot be run.
QString productVersion(const QString &executable);
QString versionFromOutput(const QByteArray &output);
// Empty when the version allows the entry (its major version, the integer
// before the first ".", is 7 or more); otherwise the message that refuses it.
QString versionProblem(const QString &version);

// Whether a process of this executable runs now.
bool isRunning(const QString &executable);

// [Opera] OptionFile of Velmarin.ini.
QString rememberedMenuFile();

// The buttons' new states, or nothing when they stay (the operation stopped).
std::optional<MenuButtonStates> add(MenuEntryPrompts &prompts, const QString &programPath);
std::optional<MenuButtonStates> remove(MenuEntryPrompts &prompts);

}  // namespace OperaMenu
