#include "tidy/tidy_capabilities.h"

#include "support/test.h"
#include "tidy/option_catalogue.h"

TEST(TidyCapabilities, RealTidyLacksTheRemovedOptionsAndKnowsTheRest)
{
    const QString tidy = QStandardPaths::findExecutable("tidy");
    const std::optional<TidyCapabilities> caps = queryTidyCapabilities(tidy);
    ASSERT_TRUE(caps.has_value());
    const QStringList unknown = catalogueOptionsUnknownTo(caps->names());
    for (const char *gone : {"split", "slide-style", "drop-font-tags", "hide-endtags"})
        EXPECT_TRUE(unknown.contains(gone)) << gone;
    EXPECT_LE(unknown.size(), 8) << unknown.join(u',').toStdString();
    EXPECT_TRUE(caps->knows("add-xml-decl") && caps->knows("doctype") && caps->knows("tidy-mark"));

    // fix-bad-comments used to be a yes/no switch; Tidy 5 makes it a choice
    // with "auto", and still takes the true/false the file writes.
    const TidyCapabilities::Option fix = caps->option("fix-bad-comments");
    EXPECT_EQ(fix.type, "Enum");
    EXPECT_EQ(QSet<QString>(fix.values.cbegin(), fix.values.cend()),
              (QSet<QString>{"auto", "yes", "no"}));
}

TEST(TidyCapabilities, ParsesTheTableAndSkipsWhatIsNotAnOption)
{
    // Tidy's table (wrapped value lists, descriptions) with Windows line ends.
    const std::optional<TidyCapabilities> caps = TidyCapabilities::parseHelpConfig(
        readWholeFile(testDataPath("tidy_help_config.txt")).replace("\n", "\r\n"));
    ASSERT_TRUE(caps.has_value());
    // "wrap: 72" above the rule is an example, not an option.
    EXPECT_EQ(caps->names(), (QSet<QString>{"indent", "newline", "wrap"}));
    EXPECT_EQ(caps->option("newline").values, (QStringList{"LF", "CRLF", "CR"}));
    EXPECT_EQ(caps->option("wrap").values.first(), "0");
    // No rule, or a rule with nothing under it: no answer rather than "knows nothing".
    for (const char *text : {"indent Enum no, yes", "Name\n=====\n\n", ""})
        EXPECT_FALSE(TidyCapabilities::parseHelpConfig(text)) << text;
}

TEST(TidyCapabilities, StandInsThatCannotAnswerGiveNoAnswer)
{
    TempHome home;
    home.write("not-executable", "indent Enum\n");
    for (const QString &tidy :
         {home.file("no-such-tidy"), QString(), home.path(), home.file("not-executable"),
          home.script("garbage-tidy",
                      "printf '\\377\\376 Segmentation\\n=== ===\\n\\001\\002 x\\n'\n")})
        EXPECT_FALSE(queryTidyCapabilities(tidy)) << tidy.toStdString();
    // One that hangs is given up (the test's own deadline is ctest's).
    EXPECT_FALSE(queryTidyCapabilities(home.script("slow-tidy", "exec sleep 30\n"), 300));
}

TEST(TidyCapabilities, AnswerIsKeptUntilTheExecutableChanges)
{
    TempHome home;
    const QByteArray table =
        "echo 'Name Type Values'\necho '==== ==== ===='\n"
        "echo 'indent        Enum    no, yes, auto'\necho x >> \"$0.count\"\n";
    const QString fake = home.script("fake-tidy", table);
    ASSERT_TRUE(queryTidyCapabilities(fake));
    ASSERT_TRUE(queryTidyCapabilities(fake));
    EXPECT_EQ(home.read("fake-tidy.count"), "x\n");

    // A replaced executable (other size) is asked again.
    home.script("fake-tidy", table + "echo 'wrap          Integer 0, 1'\n");
    const std::optional<QSet<QString>> known = knownTidyOptions(fake);
    EXPECT_TRUE(known && known->contains("wrap"));
    EXPECT_EQ(home.read("fake-tidy.count"), "x\nx\n");
}
