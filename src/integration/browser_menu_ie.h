#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

#include "integration/browser_menu_state.h"

class MenuEntryPrompts;

// Internet Explorer's right-click menu entry: a registry key whose unnamed
// value names a script page, which runs the program with "-ie" and the
// address of the page the menu was opened on.
namespace IeMenu {

// "HKEY_CURRENT_USER\Software\Microsoft\Internet Explorer\MenuExt\Velmarin".
QString key();
// VelmarinExe.html in the program folder.
QString scriptPagePath();
// The five lines of the script page, CP932 (UTF-8 when the path needs it), CR LF.
QByteArray scriptPage(const QString &programPath);

// The buttons' new states, or nothing when they stay (the operation stopped).
std::optional<MenuButtonStates> add(MenuEntryPrompts &prompts, const QString &programPath);
std::optional<MenuButtonStates> remove(MenuEntryPrompts &prompts);

}  // namespace IeMenu
