#include "integration/browser_menu_state.h"

#include <QFileInfo>

#include "platform/ini_file.h"

MenuButtonStates ieMenuButtonStates()
{
    return MenuButtonStates{};
}

MenuButtonStates operaMenuButtonStates(const QString &optionFile)
{
    if (optionFile.isEmpty() || !QFileInfo(optionFile).isFile())
        return MenuButtonStates{};
    const bool present = IniFile(optionFile).hasKey(QStringLiteral("Document Popup Menu"),
                                                    QStringLiteral("Item, Velmarin"));
    return MenuButtonStates{!present, present};
}
