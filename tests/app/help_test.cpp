// "ヘルプの表示": Velmarin.chm when there is one, else the HTML manual.
#include "support/actions_fixture.h"
#include "support/test.h"

TEST_F(ActionsTest, HelpChmFirstThenTheManualOfTheProgramFolderThenTheSourceTree)
{
    // A build tree: the manual of the sources.
    actions.openHelp();
    ASSERT_EQ(runner.opened.size(), 1);
    EXPECT_TRUE(runner.opened.at(0).endsWith("/docs/help/index.html"))
        << runner.opened.at(0).toStdString();
    EXPECT_TRUE(QFile::exists(runner.opened.at(0)));

    home.write("help/index.html", "<p>mine</p>");
    actions.openHelp();
    EXPECT_EQ(runner.opened.at(1), home.file("help/index.html"));

    home.write("Velmarin.chm", "ITSF");
    actions.openHelp();
    EXPECT_EQ(runner.opened.at(2), home.file("Velmarin.chm"));
    EXPECT_TRUE(view.notices.isEmpty());
}
