#include <sys/stat.h>
#include <unistd.h>

#include <memory>

#include "app/command_line.h"
#include "app/forwarded_command_line.h"
#include "app/main_actions.h"
#include "app/single_instance.h"
#include "app/window_placement.h"
#include "core/folder_memory.h"
#include "platform/process_runner.h"
#include "support/browser_process.h"
#include "support/test.h"

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
    // A folder with the separator counts; without it, or missing, nothing changes.
    for (const char *name : {"site/sub/", "site", "site/none.html", "none/"})
        memory.remember(home.file(name));
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

TEST(ForwardedCommandLine, RoundTripsEveryArgumentAndRefusesMalformedText)
{
    const QList<QStringList> cases{{},
                                   {QString()},
                                   {"-css", "/home/u/a b.html"},
                                   {"say \"hi\"", "a,b", "日本語.html"},
                                   {"\"", "\"\"", ","}};
    for (const QStringList &arguments : cases) {
        const QString text = ForwardedCommandLine::encode(arguments);
        EXPECT_EQ(ForwardedCommandLine::decode(text), arguments) << text.toStdString();
    }
    EXPECT_EQ(ForwardedCommandLine::encode({"a\"b", "c"}), "\"a\"\"b\",\"c\"");
    EXPECT_EQ(*ForwardedCommandLine::decode("plain,\"q\""), (QStringList{"plain", "q"}));
    for (const char *text : {"\"open", "\"a\"b", "a\"b", "\"a\",\"b"})
        EXPECT_FALSE(ForwardedCommandLine::decode(QString::fromUtf8(text)).has_value()) << text;
}

TEST(ForwardedCommandLine, OnlyCssOrLinkChecksBringTheRunningInstanceForward)
{
    const struct {
        QStringList arguments;
        bool raises;
    } cases[] = {
        {{"-css", "page.html"}, true},
        {{"/LINK", "page.html"}, true},
        {{"-all", "page.html"}, false},
        {{"-css", "-ie", "page.html"}, false},
        {{"-css"}, false},
        {{"page.html"}, false},
        // An upload switch ends the scan like a document.
        {{"-link", "-w3c", "page.html"}, true},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ForwardedCommandLine::raisesRunningInstance(c.arguments), c.raises)
            << c.arguments.join(u' ').toStdString();
}

TEST(ForwardedCommandLine, DocumentsAreMadeAbsoluteInTheSecondStartsFolder)
{
    TempHome home;
    home.write("here/page.html", "x");
    home.write("here/my docs/c.html", "x");
    const QString here = home.file("here");
    const struct {
        QStringList arguments;
        QStringList sent;
    } cases[] = {
        {{"page.html", "./page.html", "none.html"},
         {here + "/page.html", here + "/page.html", here + "/none.html"}},
        // Switches, addresses and absolute paths go as they are.
        {{"-css", "/TIDY", "-x", "http://h/a.html", "ftp://h", "file:///w/a.html", "/w/a.html"},
         {"-css", "/TIDY", "-x", "http://h/a.html", "ftp://h", "file:///w/a.html", "/w/a.html"}},
        // Pieces of a path passed unquoted, relative or not, become one.
        {{"my", "docs/c.html", "-link", here + "/my", "docs/c.html"},
         {here + "/my docs/c.html", "-link", here + "/my docs/c.html"}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(absoluteDocuments(c.arguments, here), c.sent)
            << c.arguments.join(u' ').toStdString();
    // After "--" of the console program nothing is a switch.
    EXPECT_EQ(absoluteDocuments({"-dash.html", "/css"}, here, true),
              QStringList({here + "/-dash.html", "/css"}));
}

TEST(SingleInstance, APlantedRuntimeFolderIsRefusedOneHolderAtATime)
{
    TempHome home;
    QTemporaryDir tmp;
    const EnvGuard env{{"TMPDIR", QFile::encodeName(tmp.path())}, {"XDG_RUNTIME_DIR", {}}};
    const QString runtime = tmp.path() + QStringLiteral("/velmarin-%1").arg(::getuid());
    const QString victim = tmp.path() + "/victim";
    auto mode = [](const QString &path) {
        struct stat info {};
        return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 0u;
    };
    const auto ignore = [](const SingleInstance::Request &, std::function<void()> done) { done(); };
    auto firstStart = [&ignore] { return SingleInstance().becomeFirst(ignore); };

    ASSERT_TRUE(QDir().mkdir(victim));
    ::chmod(QFile::encodeName(victim).constData(), 0755);
    ASSERT_TRUE(QFile::link(victim, runtime));
    EXPECT_FALSE(firstStart());
    EXPECT_EQ(SingleInstance::runtimeProblem(),
              "フォルダ「" + runtime +
                  "」はシンボリックリンクであるため、使えません。"
                  "Velmarinを1つだけ動かすことができないので、起動をやめます。");
    EXPECT_EQ(mode(victim), 0755u);
    EXPECT_TRUE(QDir(victim).isEmpty());
    QFile::remove(runtime);

    // A folder of ours that others may write in is not made private behind their back.
    ASSERT_TRUE(QDir().mkdir(runtime));
    ::chmod(QFile::encodeName(runtime).constData(), 0777);
    EXPECT_FALSE(firstStart());
    EXPECT_TRUE(SingleInstance::runtimeProblem().contains("ほかのユーザーも使える"));
    EXPECT_EQ(mode(runtime), 0777u);
    EXPECT_TRUE(QDir(runtime).isEmpty());

    // Another user's folder (only root can make one here).
    if (::getuid() == 0) {
        ASSERT_EQ(::chown(QFile::encodeName(runtime).constData(), 65534, 65534), 0);
        ::chmod(QFile::encodeName(runtime).constData(), 0700);
        EXPECT_FALSE(firstStart());
        EXPECT_TRUE(SingleInstance::runtimeProblem().contains("ほかのユーザーのものである"));
        EXPECT_TRUE(QDir(runtime).isEmpty());
    }
    QDir(runtime).removeRecursively();

    EXPECT_TRUE(firstStart());
    EXPECT_EQ(SingleInstance::runtimeProblem(), QString());
    EXPECT_EQ(mode(runtime), 0700u);

    // A lock file left by a start that died (the older form held its process id)
    // does not block; a live holder does.
    ASSERT_TRUE(writeFileAtomically(SingleInstance::lockPath(), "4242\nvelmarin\nhost\n"));
    auto first = std::make_unique<SingleInstance>();
    EXPECT_TRUE(first->becomeFirst(ignore));
    EXPECT_FALSE(firstStart());
    first.reset();
    EXPECT_TRUE(firstStart());
}

TEST(HandOver, AForwardedCommandLineWaitsForALinkCheckStartedByTheUser)
{
    TempHome home;
    LocalHttpServer server;
    server.setPage("/ok", "ok");
    server.setPage("/one", "one");
    QByteArray many;
    for (int i = 0; i < 11; ++i) many += "<a href=\"" + server.url("/ok").toUtf8() + "\">x</a>\n";
    home.write("many.html", many);  // eleven links: the workers check them
    home.write("one.html", "<a href=\"" + server.url("/one").toUtf8() + "\">x</a>\n");
    RecordingView view;
    ProcessRunner runner;
    MainActions actions(view, runner);
    actions.start();

    actions.dropOnLinkList({home.file("many.html")});
    ASSERT_TRUE(actions.linkCheck().isRunning());
    bool done = false;
    actions.processForwarded({"-link", home.file("one.html")}, [&done] { done = true; });
    EXPECT_FALSE(done);
    ASSERT_TRUE(pollUntil(60000, [&done] { return done; }));
    ASSERT_EQ(actions.linkList().rowCount(), 1);
    EXPECT_EQ(actions.linkList().rows()[0].first, server.url("/one"));
    EXPECT_EQ(actions.linkList().rows()[0].second, "200(OK)");
}
