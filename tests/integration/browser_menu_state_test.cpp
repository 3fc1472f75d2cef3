// Which of the add/remove buttons of the browser menu entries is offered.
#include <gtest/gtest.h>

#include "integration/browser_menu_state.h"
#include "support/temp_home.h"

TEST(BrowserMenuState, OperaFollowsTheEntryInItsMenuFile)
{
    TempHome home;
    auto check = [](const MenuButtonStates &s, bool add, bool remove) {
        EXPECT_EQ(s.addEnabled, add);
        EXPECT_EQ(s.removeEnabled, remove);
    };
    check(operaMenuButtonStates(QString()), true, false);
    check(operaMenuButtonStates(home.file(QStringLiteral("gone.ini"))), true, false);
    check(operaMenuButtonStates(home.path()), true, false);  // a folder is no menu file

    home.write(QStringLiteral("standard_menu.ini"),
               "[Document Popup Menu]\r\nItem, Reload=Reload\r\n");
    check(operaMenuButtonStates(home.file(QStringLiteral("standard_menu.ini"))), true, false);

    // Section and key names are compared without regard to case, as Opera does.
    home.write(QStringLiteral("standard_menu.ini"),
               "[Link Popup Menu]\r\nItem, Velmarin=x\r\n[document popup menu]\r\n"
               "item, velmarin=Execute program, \"/opt/velmarin\", \"/op %u\"\r\n");
    check(operaMenuButtonStates(home.file(QStringLiteral("standard_menu.ini"))), false, true);

    check(ieMenuButtonStates(), true, false);
}
