// The HTML5 check with the real vnu.jar and Java; fake "java" scripts for the failures.
#include "checks/nu_check.h"

#include "app/main_actions.h"
#include "support/env_guard.h"
#include "support/fake_browser_bridge.h"
#include "support/process_run.h"
#include "support/test.h"

namespace {

const QString kJar = QStringLiteral(VELMARIN_VNU_JAR);

const QByteArray kCleanPage =
    "<!DOCTYPE html>\n<html "
    "lang=\"en\"><head><title>t</title></head><body><p>x</p></body></html>\n";

// A "java" first on PATH that counts its starts; without a body it runs the real one.
class FakeJava {
public:
    FakeJava(const TempHome &home, const QByteArray &body)
        : m_home(home), m_path({{"PATH", home.file("bin").toUtf8() + ':' + qgetenv("PATH")}})
    {
        const QString real = QStandardPaths::findExecutable(QStringLiteral("java"));
        home.script("bin/java",
                    "echo start >> '" + home.file("java.log").toUtf8() + "'\n" +
                        (body.isEmpty() ? "exec '" + real.toUtf8() + "' \"$@\"\n" : body));
    }
    int starts() const { return int(m_home.read("java.log").count("start")); }

private:
    const TempHome &m_home;
    EnvGuard m_path;
};

struct Checker {
    RecordingView view;
    RecordingRunner runner;
    FakeBrowserBridge browsers;
    MainActions actions{view, runner, &browsers};
    NuCheck &nu = actions.nuCheck();

    Checker() { actions.start(); }
    void check(const std::function<void()> &start)
    {
        QEventLoop loop;
        QObject::connect(&nu, &NuCheck::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(180000, &loop, &QEventLoop::quit);
        start();
        if (nu.isRunning()) loop.exec();
        EXPECT_FALSE(nu.isRunning());
    }
};

// "*" stands for any text.
bool matchesStars(const QString &text, const QString &pattern)
{
    const QString escaped = QRegularExpression::escape(pattern).replace("\\*", ".*");
    return QRegularExpression("^" + escaped + "$", QRegularExpression::DotMatchesEverythingOption)
        .match(text)
        .hasMatch();
}

}  // namespace

TEST(NuCheck, MissingPartsDamagedOrHugeAnswersAndAnAbort)
{
    const struct {
        const char *name;
        bool jar;          // a (fake) vnu.jar in the program folder
        const char *java;  // the fake java's script; nullptr: no java on PATH
        const char *rows;  // the list's text, lines joined by "|"; "*": any text
        int starts;
        bool abortOnStart = false;
    } cases[] = {
        {"no vnu.jar", false, "exit 0\n",
         "Nu Html Checker(vnu.jar)が見つかりません。*npm install vnu-jar*", 0},
        {"no java", true, nullptr, "Java が見つかりません。*PATH*", 0},
        {"java's complaint", true, "echo 'Error: Invalid or corrupt jarfile x' >&2\n",
         "Nu Html Checkerの答えを読めませんでした。「Error: Invalid or corrupt jarfile x」", 1},
        {"no answer at all", true, "exit 3\n",
         "Nu Html Checkerの答えを読めませんでした。(答えは空でした)", 1},
        // vnu's own fault with binary pages: a message loses its beginning.
        {"a damaged message", true,
         "printf '{\"messages\":[{\"type\":\"error\",\"url\":\"file:%s\",\"lastLine\":3,"
         "\"firstColumn\":2,\"message\":\"a\\\\nb\"},\"file:x\",\"lastLine\":4},"
         "{\"type\":\"info\",\"url\":\"file:%s\",\"message\":\"c\"}]}' \"$6\" \"$6\" >&2\n",
         "情報: チェックしたHTML: *p.html|行 3 位置2 - エラー: a b|情報: c", 1},
        {"a cut answer", true,
         "printf '{\"messages\":[{\"type\":\"info\",\"subType\":\"warning\",\"url\":\"file:%s\","
         "\"firstLine\":1,\"lastLine\":2,\"message\":\"w\"},{\"type\":' \"$6\" >&2\n",
         "情報: チェックしたHTML: *p.html|行 1警告: w", 1},
        {"a huge answer", true, "head -c 3000 /dev/zero | tr '\\000' ' ' >&2\n",
         "Nu Html Checkerの答えが大きすぎるため読みませんでした(2048 バイトまで)。", 1},
        {"an endless run, aborted", true, "exec sleep 60\n", "HTML5チェックを中止しました。", 1,
         true},
    };
    for (const auto &tc : cases) {
        SCOPED_TRACE(tc.name);
        TempHome home;
        home.write("p.html", kCleanPage);
        if (tc.jar) home.write("vnu.jar", "not a jar");
        EnvGuard noJava;
        if (!tc.java) noJava.set("PATH", home.file("empty").toUtf8());
        std::unique_ptr<FakeJava> java(tc.java ? new FakeJava(home, tc.java) : nullptr);
        Checker c;
        c.nu.setAnswerCap(2048);
        c.view.onStatus = [&](const QString &text) {
            if (tc.abortOnStart && text.startsWith("HTML5チェック中"))
                QTimer::singleShot(0, &c.nu, [&] { c.nu.abort(); });
        };
        c.check([&] { c.nu.checkDocuments({home.file("p.html")}); });

        const QString rows = c.actions.nuList().resultText().replace("\r\n", "|").chopped(1);
        EXPECT_TRUE(matchesStars(rows, QString::fromUtf8(tc.rows))) << rows.toStdString();
        // An abort may come before the script's first line has run.
        EXPECT_EQ(c.nu.processStarts(), tc.starts);
        if (!tc.abortOnStart) {
            EXPECT_EQ(java ? java->starts() : 0, tc.starts);
        }
        EXPECT_FALSE(c.nu.problems().isEmpty());  // the console's exit status 1
        EXPECT_TRUE(c.view.enabled.value(Control::ToolBar1));
    }
}

// velmarin-cli --nu against vnu's JSON as Python reads it, in one Java process: a
// folder (the search's rules: TidyBatchTest.FolderSearchOrder) and real pages.
TEST(NuCheck, ConsoleRowsEqualVnusJsonOnAFolderAndRealPages)
{
    ASSERT_TRUE(QFileInfo(kJar).isFile()) << "vnu.jar missing: " << kJar.toStdString();
    TempHome home;
    IniFile(ProgramFolder::iniPath()).writeString("Nu", "Path", kJar);
    // Errors, a warning, information, and a message over two lines (line 8 to 9).
    home.write("site/b.html", readWholeFile(testDataPath("nu_check_known.html")));
    home.write("site/sub/c.htm", kCleanPage);
    QStringList installed;
    QDirIterator it("/usr/share/doc", {"*.htm", "*.html"}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString page = it.next();
        if (!QFileInfo(page).isSymLink()) installed << page;
    }
    installed.sort();
    QStringList pages;
    for (qsizetype i = 0; i < installed.size(); i += 40) pages << installed.at(i);
    ASSERT_GE(pages.size(), 2);
    const QStringList folder{home.file("site/b.html"), home.file("site/sub/c.htm")};

    const RunResult reference = run("python3",
                                    QStringList{VELMARIN_TEST_DATA "/../checks/nu_reference.py",
                                                QStandardPaths::findExecutable("java"), kJar} +
                                        folder + pages,
                                    {}, {}, 300000);
    ASSERT_EQ(reference.exitCode, 0) << reference.err.toStdString();

    FakeJava counted(home, QByteArray());
    const RunResult cli =
        runCliProgram(QStringList{"--nu", "--subdir", home.file("site")} + pages, {}, {}, 300000);
    EXPECT_EQ(cli.out, reference.out);
    EXPECT_TRUE(cli.out.contains("行 8 位置1 - エラー: An “img” element must have an “alt”"));
    EXPECT_EQ(cli.exitCode, 1) << cli.err.toStdString();  // b.html has errors
    EXPECT_EQ(counted.starts(), 1);
    EXPECT_EQ(runCliProgram({"--nu"}).exitCode, 2);
}

// A URL and a browser's page are downloaded, then named by their addresses.
TEST(NuCheck, AUrlAndABrowsersPageAreDownloadedAndNamedByTheirAddress)
{
    TempHome home;
    home.write("vnu.jar", "not a jar");
    LocalHttpServer server;
    server.setPage("/a.html", kCleanPage);
    server.setPage("/b.html", kCleanPage);
    FakeJava java(
        home,
        "printf '%s\\n' \"$@\" >> \"$0.args\"\n"
        "printf '{\"messages\":[{\"type\":\"info\",\"url\":\"file:%s\",\"message\":\"m\"}]}' "
        "\"$6\" >&2\n");
    Checker c;
    c.browsers.show(0, server.url("/b.html"));
    c.check([&] { c.nu.checkDocuments({server.url("/a.html"), home.file("none.html")}); });
    EXPECT_EQ(c.actions.nuSelector().stringList(), QStringList{server.url("/a.html")});
    EXPECT_EQ(c.actions.nuList().resultText(),
              "情報: チェックしたHTML: " + server.url("/a.html") + "\r\n情報: m\r\n");
    EXPECT_EQ(c.nu.problems(), QStringList{"ファイルがありません。" + home.file("none.html")});
    EXPECT_EQ(c.view.lastStatus, "HTML5チェックが終了しました。");
    EXPECT_EQ(c.view.page, NuCheck::kPage);

    c.check([&] { c.actions.nuCaptureAction(CaptureBrowser::InternetExplorer); });
    EXPECT_EQ(c.actions.nuSelector().stringList(), QStringList{server.url("/b.html")});
    EXPECT_EQ(java.starts(), 2);
    const QByteArray args = home.read("bin/java.args");
    EXPECT_TRUE(args.contains(ProgramFolder::workDir().toUtf8() + "nu_get0.html\n"))
        << args.constData();
    EXPECT_TRUE(args.contains(ProgramFolder::workDir().toUtf8() + "tidy_get.html\n"))
        << args.constData();
}
