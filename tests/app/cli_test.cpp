// The console program, run as a user would run it. Its uploads go to the real
// markup validators on loopback and to a recorder for the services that have no
// local build; the bodies, byte for byte, are checks/validator_request_test's.
#include <sys/stat.h>
#include <unistd.h>

#include <QTcpServer>
#include <csignal>

#include "support/process_run.h"
#include "support/test.h"
#include "support/validator_peers.h"

namespace {

const QByteArray kCleanPage =
    "<!DOCTYPE html>\n<html><head><title>t</title></head><body>\n<p>x</p>\n</body></html>\n";

// The upload timeout and the answer cap are the program's unless given.
RunResult runCli(const TempHome &home, const QStringList &arguments, int timeoutSeconds = 60,
                 qint64 capBytes = 0)
{
    QStringList env{"VELMARIN_HOME=" + home.path(),
                    "VELMARIN_UPLOAD_TIMEOUT=" + QString::number(timeoutSeconds)};
    if (capBytes > 0) env << "VELMARIN_DOWNLOAD_CAP=" + QString::number(capBytes);
    return runCliProgram(arguments, env, home.path(), 180000);
}

std::string shown(const RunResult &run)
{
    return QStringLiteral("status %1\nout:\n%2err:\n%3")
        .arg(run.exitCode)
        .arg(run.out, run.err)
        .toStdString();
}

}  // namespace

TEST(Cli, ExitStatusSaysWhetherEverythingWasChecked)
{
    TempHome home;
    home.write("clean.html", kCleanPage);
    home.write("-dash.html", kCleanPage);
    home.write("line\nbreak.html", kCleanPage);
    home.write("deep/sub/a.html", kCleanPage);
    home.write("style.css", "p { color: red }");
    const QString refused = QString("http://127.0.0.1:%1/page.html").arg(freeLoopbackPort());
    LocalHttpServer devTools;  // a Chromium's page list
    devTools.setPage("/json/list",
                     R"([{"type":"browser_ui","url":"chrome://x/"},)"
                     R"({"type":"page","url":"https://a.example/p"}])",
                     200, "application/json");
    IniFile ini(home.file("Velmarin.ini"));
    ASSERT_TRUE(ini.writeInt("Browser", "ChromiumPort", devTools.port()));
    ASSERT_TRUE(ini.writeInt("Browser", "OperaPort", freeLoopbackPort()));
    const struct {
        QStringList arguments;
        int status;
        QString said;  // on standard output when all went well, else on standard error
    } cases[] = {
        {{"clean.html"}, 0, "情報: チェックしたHTML: clean.html"},
        // The window's switches, in either form, are no unknown options.
        {{"/TIDY", "clean.html", "-tidy", "clean.html"}, 0, "情報: チェックしたHTML: clean.html"},
        // "--" ends the options: what follows is a document.
        {{"--", "-dash.html"}, 0, "情報: チェックしたHTML: " + home.file("-dash.html")},
        {{"--help"}, 0, "使い方: velmarin-cli"},
        // A name with a line break is one row.
        {{"line\nbreak.html"}, 0, "\n情報: チェックしたHTML: line\\nbreak.html\n"},
        {{"--folder", home.file("deep"), "--subdir"},
         0,
         "情報: チェックしたHTML: " + home.file("deep/sub/a.html")},
        {{"--folder", home.file("deep")}, 1, "HTMLファイルが見つかりませんでした。"},
        {{"none.html"}, 1, "ファイルがありません。none.html"},
        {{"ftp://example.org/a.html"}, 1, "HTTP以外のプロトコルには対応していません。"},
        {{"-link", refused}, 1, "HTML文書の取得に失敗しました。"},
        // Java runs, but no validator is installed here; said instead of Java's complaint.
        {{"-css", "style.css"}, 1, "CSSバリデータが見つかりませんでした。"},
        {{"--folder", home.file("nowhere")}, 1, "フォルダがありません。"},
        {{"--browser-url", "chromium"}, 0, "\nhttps://a.example/p\n"},
        {{"--browser-url", "opera"}, 1, "ブラウザが起動していません。"},
        {{"--browser-url", "lynx"}, 2, "--browser-urlには"},
        {{"-foo", "clean.html"}, 2, "不明なオプションです: -foo"},
        {{"--lang", "ja", "clean.html"}, 2, "--langにはenを指定してください。"},
        {{"-w3c", "-tidy", "clean.html"}, 2, "アップロードのスイッチ"},  // uploads go alone
        {{"--folder"}, 2, "使い方"},
        {{"-css"}, 2, "使い方"},
    };
    for (const auto &c : cases) {
        const RunResult run = runCli(home, c.arguments);
        EXPECT_EQ(run.exitCode, c.status) << c.arguments.join(u' ').toStdString() << shown(run);
        EXPECT_TRUE((c.status == 0 ? u'\n' + run.out : run.err).contains(c.said))
            << c.arguments.join(u' ').toStdString() << shown(run);
        EXPECT_TRUE(c.status == 0 || !run.out.contains(c.said)) << shown(run);
        EXPECT_FALSE(run.err.contains("org.w3c.css.")) << shown(run);
    }
    // A first start wrote the same files as the window does.
    EXPECT_TRUE(!home.read("Velmarin.txt").isEmpty() && ini.hasKey("Tidy", "Japanese"));

    // A Tidy that fails without a word.
    IniFile(ProgramFolder::iniPath()).writeString("Tidy", "Path", "/bin/false");
    const RunResult failing = runCli(home, {"clean.html"});
    EXPECT_EQ(failing.exitCode, 1) << shown(failing);
    EXPECT_TRUE(failing.out.contains("Tidyが異常終了しました。")) << shown(failing);

    // A document that cannot be read, by a user who cannot read it.
    QTemporaryDir other;
    ::chmod(QFile::encodeName(other.path()).constData(), 0777);
    home.write("secret.html", kCleanPage);
    ASSERT_TRUE(QFile::rename(home.file("secret.html"), other.path() + "/secret.html"));
    QFile::setPermissions(other.path() + "/secret.html", {});
    const RunResult unreadable = runCliProgram({"secret.html"}, {"VELMARIN_HOME=" + other.path()},
                                               other.path(), 60000, true);
    EXPECT_EQ(unreadable.exitCode, 1) << shown(unreadable);
    EXPECT_TRUE(unreadable.out.contains("読めません")) << shown(unreadable);
}

TEST(Cli, EachRunHasAWorkingFolderOfItsOwn)
{
    TempHome home;
    home.write("page.html", kCleanPage);
    home.write("temp/tidy_out0.txt", "window output");
    home.write("temp/tidy_err0.txt", "window report");
    // A run's folder names its process; a run removes those whose process is
    // gone (no pid is as high as pid_max), and no other.
    home.write("temp/cli-gone00/pid", readWholeFile("/proc/sys/kernel/pid_max"));
    home.write("temp/cli-gone00/tidy_out0.txt", "left behind");
    home.write("temp/cli-live00/pid", QByteArray::number(QCoreApplication::applicationPid()));
    home.write("temp/cli-other0/tidy_out0.txt", "no pid");
    auto temp = [&home] {
        QStringList names =
            QDir(home.file("temp")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        names.sort();
        return names;
    };

    const RunResult kept = runCli(home, {"--keep", "page.html"});
    EXPECT_EQ(kept.exitCode, 0) << shown(kept);
    const QString folder = QRegularExpression("作業フォルダ: (.*)").match(kept.err).captured(1);
    ASSERT_TRUE(folder.startsWith(home.file("temp/cli-"))) << shown(kept);
    EXPECT_TRUE(kept.err.contains("整理された文書: " + folder + "/tidy_out0.txt")) << shown(kept);
    QStringList left{QFileInfo(folder).fileName(), "cli-live00", "cli-other0", "tidy_err0.txt",
                     "tidy_out0.txt"};
    left.sort();
    EXPECT_EQ(temp(), left);
    EXPECT_EQ(home.read("temp/tidy_out0.txt") + home.read("temp/tidy_err0.txt"),
              "window outputwindow report");

    // The kept folder is left alone by the window's close and by later runs,
    // which leave nothing behind.
    ProgramFolder::emptyWorkDir();
    EXPECT_EQ(runCli(home, {"page.html"}).exitCode, 0);
    EXPECT_EQ(temp(), left.mid(0, 3));
    EXPECT_TRUE(QFile::exists(folder + "/tidy_out0.txt") &&
                QFile::exists(folder + "/tidy_err0.txt"));
}

TEST(Cli, ASignalEndsTheRunWithWhatIsDone)
{
    // A Tidy that says it started on the second page, then waits on a fifo forever.
    TempHome home;
    home.write("site/a.html", kCleanPage);
    home.write("site/slow.html", kCleanPage);
    const QString fifo = home.file("hold"), started = home.file("started");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString tidy = home.script(
        "slow-tidy", "case \"$*\" in *slow.html*) : > '" + started.toUtf8() + "'; read x < '" +
                         fifo.toUtf8() + "';; *) exec tidy \"$@\";; esac\n");
    ASSERT_TRUE(IniFile(ProgramFolder::iniPath()).writeString("Tidy", "Path", tidy));
    // One run at a time: the first page is done when the second starts.
    ASSERT_TRUE(IniFile(ProgramFolder::iniPath()).writeString("Tidy", "Jobs", "1"));

    for (const auto &[signalNumber, status] :
         {std::pair{SIGINT, 130}, {SIGTERM, 143}, {SIGHUP, 129}}) {
        QFile::remove(started);
        QProcess process;  // VELMARIN_HOME is the TempHome's
        process.start(QStringLiteral(VELMARIN_CLI_PATH), {"--folder", home.file("site")});
        while (!QFile::exists(started) && !process.waitForFinished(50)) {
        }
        ASSERT_TRUE(QFile::exists(started)) << process.readAllStandardError().toStdString();
        ASSERT_EQ(::kill(pid_t(process.processId()), signalNumber), 0);
        ASSERT_TRUE(process.waitForFinished(60000));
        const QString out = QString::fromUtf8(process.readAllStandardOutput());
        EXPECT_EQ(process.exitCode(), status) << out.toStdString();
        EXPECT_TRUE(out.startsWith("情報: チェックしたHTML: " + home.file("site/a.html") + "\n"))
            << out.toStdString();
        EXPECT_FALSE(out.contains("slow.html")) << out.toStdString();
        EXPECT_EQ(QDir(home.file("temp")).entryList({"cli-*"}, QDir::Dirs), QStringList());
    }
}

// Never the current folder instead.
TEST(Cli, AProgramFolderThatCannotBeWrittenStopsTheRun)
{
    TempHome home;
    home.write("blocker", "a file, where the program folder's parent should be");
    home.write("here/page.html", kCleanPage);
    const QString programFolder = home.file("blocker/velmarin");
    const RunResult run =
        runCliProgram({"page.html"}, {"VELMARIN_HOME=" + programFolder}, home.file("here"));
    EXPECT_EQ(run.exitCode, 1) << shown(run);
    EXPECT_TRUE(run.err.contains(programFolder) && run.out.isEmpty()) << shown(run);
    EXPECT_EQ(QDir(home.file("here")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList{"page.html"});
}

// Real pages from /usr/share/doc give the recorded rows in both languages.
TEST(Cli, RealPagesGiveTheRecordedRows)
{
    TempHome home;
    const QString pages = testDataPath("tidy_pages");
    for (const QString lang : {"ja", "en"}) {
        const QStringList english{"--lang", "en"};
        const RunResult run =
            runCli(home, QStringList{"--folder", pages} + (lang == "en" ? english : QStringList()));
        EXPECT_EQ(run.exitCode, 1) << lang.toStdString();  // one page has an error
        // Tidy's line that points to the latest HTML standard is recorded in those words.
        const QString out = QString(run.out)
                                .replace(pages, "PAGES")
                                .replace(QRegularExpression("^Latest HTML \\w+: ",
                                                            QRegularExpression::MultilineOption),
                                         "Latest HTML standard: ");
        EXPECT_EQ(out,
                  QString::fromUtf8(readWholeFile(testDataPath("tidy_pages_" + lang + ".txt"))))
            << lang.toStdString();
    }
}

// Eleven links: the program waits for both workers.
TEST(Cli, LinkListOneRowALine)
{
    TempHome home;
    LocalHttpServer server;
    server.setPage("/ok.html", "ok");
    const QString ok = server.url("/ok.html"), gone = server.url("/gone.png");
    QByteArray page;
    for (int i = 0; i < 11; ++i) page += "<a href=\"" + ok.toUtf8() + "\">a</a>";
    home.write("links.html", page + "<img src=\"" + gone.toUtf8() + "\">");

    const RunResult run = runCli(home, {"-link", home.file("links.html")});
    EXPECT_EQ(run.out, (ok + "\t200(OK)\n").repeated(11) + gone + "\t404(Not Found)\n");
    EXPECT_EQ(run.exitCode, 1);
}

TEST(CliUpload, TheMarkupValidatorsOwnProgramsAnswer)
{
    ValidatorPeers peers(true);
    if (!peers.problem().isEmpty()) GTEST_SKIP() << peers.problem().toStdString();
    TempHome home;
    for (const char *name : {"strict.html", "h5.html"})
        home.write(name, readWholeFile(testDataPath(QStringLiteral("cli_upload_") + name)));
    setValidatorHosts(peers.origin(), {"Markup"});
    const struct {
        QStringList arguments;
        QStringList said;
        QString saved;
        QByteArray savedHolds;
    } cases[] = {
        {{"strict.html"},
         {"W3C Markup Validator: ", "結果: " + home.file("w3c_result.html"), "エラー: 1件"},
         "w3c_result.html",
         "Markup Validation of strict.html"},
        {{"--json", "h5.html"},
         {"Nu Html Checker: ", "エラー: 4件"},
         "w3c_result.json",
         "\"messages\""},
    };
    for (const auto &c : cases) {
        const RunResult run = runCli(home, QStringList{"-w3c"} + c.arguments);
        EXPECT_EQ(run.exitCode, 1) << shown(run);
        for (const QString &text : c.said)
            EXPECT_TRUE(run.out.contains(text)) << text.toStdString() << shown(run);
        const QByteArray saved = home.read(c.saved);
        EXPECT_TRUE(saved.contains(c.savedHolds)) << saved.left(300).toStdString();
    }
}

// The window's upload settings go along; each answer is saved under its switch's name.
TEST(CliUpload, TheOtherServicesInTheCommandLinesOrder)
{
    TempHome home;
    home.write("a b\"c.html", "<p>x</p>");
    LocalHttpServer recorder;
    recorder.record(200, "<html>answer</html>", "X-W3C-Validator-Errors: 0\r\n");
    setValidatorHosts(recorder.origin(), {"Lint", "WDG", "CSS"});
    IniFile ini(ProgramFolder::iniPath());
    ini.writeInt("Lint", "TextBrowser", 2);
    ini.writeString("WDG", "Charset", "UTF-8");
    ini.writeString("CSS", "Profile", "CSS version 3");
    const RunResult run = runCli(home, {"-lint", "/WDG", "-cssu", "a b\"c.html"});
    EXPECT_EQ(run.exitCode, 0) << shown(run);
    const QList<LocalHttpServer::Request> got = recorder.requests();
    ASSERT_EQ(got.size(), 3);
    const struct {
        QByteArray path;
        QByteArray setting;
        const char *saved;
    } expected[] = {
        {"/css-validator/validator", "name=\"profile\"\r\n\r\ncss3\r\n", "cssu_result.html"},
        {"/k16/htmllint/htmllint.cgi", "name=\"TextView\"\r\n\r\nw3m\r\n", "lint_result.html"},
        {"/cgi-bin/validate.cgi", "name=\"charset\"\r\n\r\nUTF-8\r\n", "wdg_result.html"},
    };
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(expected[i].path.toStdString());
        EXPECT_EQ(got.at(i).target, expected[i].path);
        EXPECT_TRUE(got.at(i).body.contains(expected[i].setting)) << got.at(i).body.toStdString();
        EXPECT_EQ(home.read(expected[i].saved), "<html>answer</html>");
    }

    // Refused before anything is sent (the reasons: ValidatorUploadTest's refusals).
    const RunResult refused = runCli(home, {"-wdg", "missing.html"});
    EXPECT_EQ(refused.exitCode, 1) << shown(refused);
    EXPECT_TRUE(refused.err.contains(home.file("missing.html"))) << shown(refused);
    EXPECT_EQ(recorder.requests().size(), 3);
}

TEST(CliUpload, ServicesThatCannotBeReachedExitWithTwo)
{
    TempHome home;
    home.write("a.html", "<p>x</p>");
    const QString refused = QStringLiteral("http://127.0.0.1:%1").arg(freeLoopbackPort());
    LocalHttpServer failing;
    failing.record(500, "<h1>broken</h1>");
    LocalHttpServer looping;
    looping.record(302, "", "Location: /cgi-bin/validate.cgi\r\n");
    QTcpServer silent;  // accepts and never answers
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    LocalHttpServer endless;  // an answer larger than the cap set for the test
    LocalHttpServer::Page huge;
    huge.behaviour = LocalHttpServer::Behaviour::Endless;
    huge.hugeSize = 4 << 20;
    endless.setPage("/cgi-bin/validate.cgi", huge);
    // Only the silent service, which never answers, is given a short time.
    const struct {
        QString host;
        int timeoutSeconds;
        QString said;
    } cases[] = {
        {refused, 600, "接続が拒否されました"},
        {failing.origin(), 600, "HTTP 500"},
        {looping.origin(), 600, "リダイレクトが多すぎます"},
        {QStringLiteral("http://127.0.0.1:%1").arg(silent.serverPort()), 1,
         "1秒以内に応答がありませんでした。"},
        {endless.url(""), 600, "応答が大きすぎます(64 KiBまで)。"},
    };
    for (const auto &c : cases) {
        setValidatorHosts(c.host, {"WDG"});
        const RunResult run = runCli(home, {"-wdg", "a.html"}, c.timeoutSeconds, 64 << 10);
        EXPECT_EQ(run.exitCode, 2) << shown(run);
        EXPECT_TRUE(run.err.contains("WDG HTML Validatorに接続できませんでした")) << shown(run);
        EXPECT_TRUE(run.err.contains(c.said, Qt::CaseInsensitive)) << shown(run);
    }
}
