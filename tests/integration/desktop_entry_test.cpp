// The desktop's "Open with" entry, registered in a temporary home and checked
// with the desktop's own tools (desktop-file-validate, xdg-mime).
#include "integration/desktop_entry.h"

#include "support/process_run.h"
#include "support/recording_prompts.h"
#include "support/test.h"

namespace {

// HOME and the XDG folders pointed into a temporary folder, with no system
// data folders, so only what the test registers is seen.
class TempDesktop {
public:
    TempDesktop() { QDir().mkpath(path("config")); }
    QString path(const QString &rest) const { return m_dir.path() + u'/' + rest; }

private:
    QTemporaryDir m_dir;
    EnvGuard m_env{{"HOME", QFile::encodeName(m_dir.path())},
                   {"XDG_DATA_HOME", QFile::encodeName(path("data"))},
                   {"XDG_CONFIG_HOME", QFile::encodeName(path("config"))},
                   {"XDG_DATA_DIRS", QFile::encodeName(path("system"))},
                   {"XDG_CURRENT_DESKTOP", {}}};
};

// What the tool printed, both channels, trimmed; a failure that prints nothing shows too.
QString tool(const QString &program, const QStringList &args)
{
    const RunResult r = run(program, args);
    return (r.out + r.err).trimmed() + (r.exitCode == 0 ? "" : " (exit code not 0)");
}

}  // namespace

// Registered for a program path that quotes, spaces, "$", "%" and Japanese
// would break if written unescaped.
TEST(DesktopEntry, RegisteredEntryIsValidAndOffersVelmarinForHtmlAndCss)
{
    TempHome home;
    TempDesktop desktop;
    const QString program =
        QStringLiteral("/tmp/q\"uote's ヴェル/$HOME/`x`/100%/back\\slash/velmarin");
    RecordingPrompts prompts;
    EXPECT_EQ(DesktopEntry::entryPath(), desktop.path("data/applications/velmarin.desktop"));
    EXPECT_EQ(states(DesktopEntry::buttonStates(program)), "add/-");

    EXPECT_EQ(states(DesktopEntry::add(prompts, program)), "-/remove");
    EXPECT_TRUE(prompts.notices.isEmpty());
    EXPECT_EQ(tool("desktop-file-validate", {DesktopEntry::entryPath()}), "");
    EXPECT_EQ(tool("xdg-mime", {"query", "default", "text/html"}), "velmarin.desktop");
    EXPECT_EQ(tool("xdg-mime", {"query", "default", "text/css"}), "velmarin.desktop");
    EXPECT_EQ(states(DesktopEntry::buttonStates(program)), "-/remove");  // Exec read back
    EXPECT_EQ(states(DesktopEntry::buttonStates("/usr/bin/velmarin")), "keep");

    EXPECT_EQ(states(DesktopEntry::remove(prompts)), "add/-");
    EXPECT_FALSE(QFile::exists(DesktopEntry::entryPath()));
    EXPECT_EQ(tool("xdg-mime", {"query", "default", "text/html"}), "");
    EXPECT_EQ(states(DesktopEntry::remove(prompts)), "add/-");
    EXPECT_TRUE(prompts.notices.isEmpty());

    // Exec is read from the entry's own group only.
    EXPECT_EQ(DesktopEntry::execProgram("[Other]\nExec=x\n[Desktop Entry]\nExec = velmarin %F\n"),
              "velmarin");
    EXPECT_EQ(DesktopEntry::execProgram("Exec=nothing in a group\n"), "");
}

TEST(DesktopEntry, FolderThatCannotBeWrittenLeavesNothingBehind)
{
    TempDesktop desktop;
    // A file where the data folder should be: no folder can be made there,
    // whoever runs the test.
    ASSERT_TRUE(QFile(desktop.path("data")).open(QIODevice::WriteOnly));
    RecordingPrompts prompts;
    EXPECT_EQ(states(DesktopEntry::add(prompts, "/usr/bin/velmarin")), "stays");
    ASSERT_EQ(prompts.notices.size(), 1);
    EXPECT_EQ(
        prompts.notices.at(0),
        QStringLiteral(
            "フォルダ「%1」に書き込めないため、デスクトップのメニューに組み込めませんでした。")
            .arg(desktop.path("data/applications")));
    EXPECT_EQ(
        QDir(desktop.path("")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
        (QStringList{"config", "data"}));
}
