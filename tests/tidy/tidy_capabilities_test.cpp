// Asking the Tidy in use which options it knows: the real Debian tidy, and
// stand-ins that print nonsense, hang or are missing.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QThread>

#include "support/temp_home.h"
#include "tidy/option_catalogue.h"
#include "tidy/tidy_capabilities.h"

namespace {

// An executable shell script in the temporary folder.
QString writeScript(const TempHome &home, const QString &name, const QByteArray &body)
{
    home.write(name, QByteArrayLiteral("#!/bin/sh\n") + body);
    QFile file(home.file(name));
    file.setPermissions(file.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
    return home.file(name);
}

}  // namespace

TEST(TidyCapabilities, RealTidyLacksTheRemovedOptionsAndKnowsTheRest)
{
    const QString tidy = QStandardPaths::findExecutable("tidy");
    ASSERT_FALSE(tidy.isEmpty());
    const std::optional<TidyCapabilities> caps = queryTidyCapabilities(tidy);
    ASSERT_TRUE(caps.has_value());

    const QStringList unknown = catalogueOptionsUnknownTo(caps->names());
    for (const char *gone : {"split", "slide-style", "drop-font-tags", "hide-endtags"})
        EXPECT_TRUE(unknown.contains(gone)) << gone;
    // Everything else the dialog offers is still understood by Tidy 5.6.
    for (const char *kept : {"add-xml-decl", "doctype", "indent-spaces", "wrap", "char-encoding",
                             "accessibility-check", "repeated-attributes", "newline", "tidy-mark"})
        EXPECT_TRUE(caps->knows(kept)) << kept;
    EXPECT_LE(unknown.size(), 8) << unknown.join(u',').toStdString();

    // fix-bad-comments used to be a yes/no switch; Tidy 5 makes it a choice
    // with "auto", and still takes the true/false the file writes.
    const TidyCapabilities::Option fix = caps->option("fix-bad-comments");
    EXPECT_EQ(fix.type, "Enum");
    EXPECT_EQ(QSet<QString>(fix.values.cbegin(), fix.values.cend()),
              (QSet<QString>{"auto", "yes", "no"}));

    // Value lists wrapped over several lines, descriptions dropped.
    EXPECT_EQ(caps->option("accessibility-check").values, (QStringList{"0", "1", "2", "3"}));
    const QStringList encodings = caps->option("char-encoding").values;
    EXPECT_TRUE(encodings.contains("shiftjis"));
    EXPECT_TRUE(encodings.contains("iso2022"));
    EXPECT_TRUE(caps->option("alt-text").values.isEmpty());

    EXPECT_EQ(knownTidyOptions(tidy), caps->names());
}

TEST(TidyCapabilities, ParsesTheTableAndSkipsWhatIsNotAnOption)
{
    const QString text = QStringLiteral(
        "\r\nHTML Tidy Configuration Settings\r\n\r\nwrap: 72\r\n\r\n"
        "Name                        Type       Allowable values\r\n"
        "=========================== =========  ====================\r\n"
        "indent                      Enum       no, yes, auto\r\n"
        "Garbage Line                that is    not an option\r\n"
        "      continuation after garbage, ignored\r\n"
        "newline                     Enum       LF, CRLF,\r\n"
        "                                       CR\r\n"
        "wrap                        Integer    0 (no wrapping), 1, 2, ...\r\n"
        "lonely\r\n");
    const std::optional<TidyCapabilities> caps = TidyCapabilities::parseHelpConfig(text);
    ASSERT_TRUE(caps.has_value());
    EXPECT_EQ(caps->names(), (QSet<QString>{"indent", "newline", "wrap"}));
    EXPECT_EQ(caps->option("newline").values, (QStringList{"LF", "CRLF", "CR"}));
    EXPECT_EQ(caps->option("wrap").values.first(), "0");
    // "wrap: 72" above the rule is an example, not an option.
    EXPECT_FALSE(caps->knows("wrap:"));

    // No rule, or a rule with nothing under it: no answer rather than "knows nothing".
    EXPECT_FALSE(TidyCapabilities::parseHelpConfig("indent Enum no, yes"));
    EXPECT_FALSE(TidyCapabilities::parseHelpConfig("Name\n=====\n\n"));
    EXPECT_FALSE(TidyCapabilities::parseHelpConfig(QString()));
}

TEST(TidyCapabilities, StandInsThatCannotAnswerGiveNoAnswer)
{
    TempHome home;
    EXPECT_FALSE(queryTidyCapabilities(home.file("no-such-tidy")));
    EXPECT_FALSE(queryTidyCapabilities(QString()));
    EXPECT_FALSE(knownTidyOptions(home.path()));  // a folder

    EXPECT_FALSE(queryTidyCapabilities(writeScript(
        home, "garbage-tidy", "printf '\\377\\376 Segmentation\\n=== ===\\n\\001\\002 x\\n'\n")));

    const QString hangs = writeScript(home, "slow-tidy", "exec sleep 30\n");
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(queryTidyCapabilities(hangs, 300));
    EXPECT_LT(timer.elapsed(), 5000);

    home.write("not-executable", "indent Enum\n");
    EXPECT_FALSE(queryTidyCapabilities(home.file("not-executable")));
}

TEST(TidyCapabilities, AnswerIsKeptUntilTheExecutableChanges)
{
    TempHome home;
    const QByteArray table = QByteArrayLiteral(
        "echo 'Name Type Values'\necho '==== ==== ===='\n"
        "echo 'indent        Enum    no, yes, auto'\n"
        "echo x >> \"$0.count\"\n");
    const QString fake = writeScript(home, "fake-tidy", table);
    ASSERT_TRUE(queryTidyCapabilities(fake));
    ASSERT_TRUE(queryTidyCapabilities(fake));
    EXPECT_EQ(home.read("fake-tidy.count"), "x\n");

    // A replaced executable (other size) is asked again.
    QThread::msleep(20);
    writeScript(home, "fake-tidy", table + "echo 'wrap          Integer 0, 1'\n");
    const std::optional<QSet<QString>> known = knownTidyOptions(fake);
    ASSERT_TRUE(known.has_value());
    EXPECT_TRUE(known->contains("wrap"));
    EXPECT_EQ(home.read("fake-tidy.count"), "x\nx\n");
}
