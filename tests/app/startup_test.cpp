// Start-up rules: the remembered folder, the window placement and the
// command line handed from a second start.
#include <gtest/gtest.h>

#include <QDir>

#include "core/folder_memory.h"
#include "app/forwarded_command_line.h"
#include "app/window_placement.h"
#include "platform/ini_file.h"
#include "platform/program_folder.h"
#include "support/temp_home.h"

TEST(FolderMemory, RemembersFoldersOfFilesAndFoldersWithATrailingSeparator)
{
    TempHome home;
    QDir(home.path()).mkpath("site/sub");
    home.write("site/page.html", "x");
    FolderMemory memory;
    memory.load();
    EXPECT_TRUE(memory.lastDir().isEmpty());

    memory.remember(home.file("site/page.html"));
    EXPECT_EQ(memory.lastDir(), home.file("site"));

    memory.remember(home.file("site/sub/"));
    EXPECT_EQ(memory.lastDir(), home.file("site/sub"));

    // A folder without the separator, a missing file: nothing changes.
    memory.remember(home.file("site"));
    memory.remember(home.file("site/none.html"));
    memory.remember(home.file("none/"));
    EXPECT_EQ(memory.lastDir(), home.file("site/sub"));

    FolderMemory reloaded;
    reloaded.load();
    EXPECT_EQ(reloaded.lastDir(), home.file("site/sub"));
    EXPECT_EQ(reloaded.startDir(), home.file("site/sub"));
    QDir(home.file("site/sub")).removeRecursively();
    EXPECT_TRUE(reloaded.startDir().isEmpty());  // the dialog's own default then
}

TEST(WindowPlacement, FirstStartCentresTheDesignedSizeThenAppliesTheMinimum)
{
    TempHome home;
    IniFile ini(ProgramFolder::iniPath());
    const QRect first = WindowPlacement::load(ini, QSize(1024, 741));
    EXPECT_EQ(first, QRect(201, 131, 385, 480));  // 200.5 and 130.5 round away from zero

    WindowPlacement::save(ini, QRect(-20, 15, 700, 300));
    EXPECT_EQ(WindowPlacement::load(ini, QSize(1024, 768)), QRect(-20, 15, 700, 385));

    EXPECT_EQ(WindowPlacement::centred(100, 623), -262);  // -261.5 rounds away from zero
}

TEST(ForwardedCommandLine, RoundTripsEveryArgument)
{
    const QList<QStringList> cases{
        {},
        {QString()},
        {"-css", "/home/u/a b.html"},
        {"say \"hi\"", "a,b", "日本語.html"},
        {"\"", "\"\"", ","},
    };
    for (const QStringList &arguments : cases) {
        const QString text = ForwardedCommandLine::encode(arguments);
        const auto back = ForwardedCommandLine::decode(text);
        ASSERT_TRUE(back.has_value()) << text.toStdString();
        if (arguments.size() == 1 && arguments[0].isEmpty())
            EXPECT_EQ(*back, QStringList{QString()});
        else
            EXPECT_EQ(*back, arguments) << text.toStdString();
    }
    EXPECT_EQ(ForwardedCommandLine::encode({"a\"b", "c"}), "\"a\"\"b\",\"c\"");
}

TEST(ForwardedCommandLine, MalformedTextIsRefused)
{
    for (const char *text : {"\"open", "\"a\"b", "a\"b", "\"a\",\"b"})
        EXPECT_FALSE(ForwardedCommandLine::decode(QString::fromUtf8(text)).has_value()) << text;
    EXPECT_EQ(*ForwardedCommandLine::decode("plain,\"q\""), (QStringList{"plain", "q"}));
}

TEST(ForwardedCommandLine, OnlyCssOrLinkChecksBringTheRunningInstanceForward)
{
    using ForwardedCommandLine::raisesRunningInstance;
    const QString doc = "page.html";
    EXPECT_TRUE(raisesRunningInstance({"-css", doc}));
    EXPECT_TRUE(raisesRunningInstance({"/LINK", doc}));
    EXPECT_FALSE(raisesRunningInstance({"-all", doc}));
    EXPECT_FALSE(raisesRunningInstance({"-css", "-ie", doc}));
    EXPECT_FALSE(raisesRunningInstance({"-css"}));  // switches only
    EXPECT_FALSE(raisesRunningInstance({doc}));
    // An upload switch ends the scan like a document.
    EXPECT_TRUE(raisesRunningInstance({"-link", "-w3c", doc}));
}
