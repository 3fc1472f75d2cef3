#include "integration/browser_menu_state.h"

#include <QFileInfo>

#include "integration/browser_menu_ie.h"
#include "platform/ini_file.h"
#include "platform/registry_store.h"

MenuButtonStates ieMenuButtonStates()
{
    RegistryStore registry;
    if (!registry.keyExists(IeMenu::key()))
        return MenuButtonStates::absent();
    QString page;
    if (registry.readString(IeMenu::key(), QString(), &page) && page == IeMenu::scriptPagePath())
        return MenuButtonStates::present();
    return MenuButtonStates::unchanged();
}

MenuButtonStates operaMenuButtonStates(const QString &optionFile)
{
    if (optionFile.isEmpty() || !QFileInfo(optionFile).isFile())
        return MenuButtonStates::absent();
    const bool present = IniFile(optionFile).hasKey(QStringLiteral("Document Popup Menu"),
                                                    QStringLiteral("Item, Velmarin"));
    return present ? MenuButtonStates::present() : MenuButtonStates::absent();
}
