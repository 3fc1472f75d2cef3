#pragma once

#include <QString>
#include <optional>

#include "integration/browser_menu_state.h"

class MenuEntryPrompts;

// The desktop's own "Open with" menus: the desktop entry velmarin.desktop in
// the user's applications folder ($XDG_DATA_HOME/applications, by default
// ~/.local/share/applications), which offers this program for HTML, XHTML
// and CSS files.
namespace DesktopEntry {

QString applicationsFolder();
QString entryPath();  // applicationsFolder() + "/velmarin.desktop"

// The installed entry with Exec naming `programPath`, quoted and escaped as
// the desktop entry rules ask.
QString text(const QString &programPath);
// The program an entry's Exec line starts (unquoted, unescaped); empty when
// there is none.
QString execProgram(const QString &entryText);

// No entry offers "add", one that starts this program offers "remove", one
// that starts another program keeps the buttons.
MenuButtonStates buttonStates(const QString &programPath);

// The buttons' new states, or nothing when they stay (the operation failed
// and said why). Neither leaves a half-written entry behind.
std::optional<MenuButtonStates> add(MenuEntryPrompts &prompts, const QString &programPath);
std::optional<MenuButtonStates> remove(MenuEntryPrompts &prompts);

}  // namespace DesktopEntry
