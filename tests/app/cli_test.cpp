// The console program, run as a user would run it.
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include "support/process_run.h"
#include "support/test.h"

namespace {

const QByteArray kCleanPage =
    "<!DOCTYPE html>\n<html><head><title>t</title></head><body>\n<p>x</p>\n</body></html>\n";

RunResult runCli(const TempHome &home, const QStringList &arguments)
{
    return runCliProgram(arguments, {"VELMARIN_HOME=" + home.path()}, home.path());
}

std::string shown(const RunResult &run)
{
    return QStringLiteral("status %1\n%2%3").arg(run.exitCode).arg(run.out, run.err).toStdString();
}

}  // namespace

TEST(Cli, ExitStatusSaysWhetherEverythingWasChecked)
{
    TempHome home;
    home.write("clean.html", kCleanPage);
    home.write("-dash.html", kCleanPage);
    home.write("style.css", "p { color: red }");
    home.write("line\nbreak.html", kCleanPage);
    home.write("deep/sub/a.html", kCleanPage);
    const QString refused = QString("http://127.0.0.1:%1/page.html").arg(freeLoopbackPort());
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
        // Java runs, but no validator is installed here.
        {{"-css", "style.css"},
         1,
         "CSSバリデータが見つかりませんでした。探した場所: プログラムフォルダの" +
             home.file("css-validator.jar")},
        {{"--folder", home.file("nowhere")}, 1, "フォルダがありません。"},
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
        EXPECT_FALSE(run.err.contains("org.w3c.css.")) << shown(run);  // said instead of Java's
    }
    // A first start wrote the same files as the window does.
    EXPECT_FALSE(home.read("Velmarin.txt").isEmpty() || home.read("Velmarin.ini").isEmpty());

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
    // What the window shows meanwhile.
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

    // Kept on request and named on standard error.
    const RunResult kept = runCli(home, {"--keep", "page.html"});
    EXPECT_EQ(kept.exitCode, 0) << shown(kept);
    QString folder;
    for (const QString &line : kept.err.split(u'\n'))
        if (line.startsWith("作業フォルダ: "))
            folder = line.mid(QStringLiteral("作業フォルダ: ").size());
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
    // A Tidy that holds on the second page until the test lets go (never):
    // it says it has started by a file, then waits on a fifo.
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
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("VELMARIN_HOME", home.path());
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(VELMARIN_CLI_PATH), {"--folder", home.file("site")});
        // Until the slow page's Tidy runs; a run that ends first fails below.
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

// Real pages from /usr/share/doc give the recorded rows: in English those the
// one-at-a-time batch gave, in Japanese the same with Tidy's summary in
// Japanese and its paragraphs about itself left out.
TEST(Cli, RealPagesGiveTheRecordedRows)
{
    TempHome home;
    const QString pages = testDataPath("tidy_pages");
    for (const QString lang : {"ja", "en"}) {
        const QStringList english{"--lang", "en"};
        const RunResult run =
            runCli(home, QStringList{"--folder", pages} + (lang == "en" ? english : QStringList()));
        EXPECT_EQ(run.exitCode, 1) << lang.toStdString();  // one page has an error
        EXPECT_EQ(QString(run.out).replace(pages, "PAGES"),
                  QString::fromUtf8(readWholeFile(testDataPath("tidy_pages_" + lang + ".txt"))))
            << lang.toStdString();
    }
}

// Eleven links go to the two workers; the program waits for both.
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

TEST(Cli, BrowserUrlPrintsWhatTheCaptureReads)
{
    TempHome home;
    LocalHttpServer devTools;
    devTools.setPage("/json/list",
                     R"([{"type":"browser_ui","url":"chrome://x/"},)"
                     R"({"type":"page","url":"https://a.example/p"}])",
                     200, "application/json");
    IniFile ini(home.file("Velmarin.ini"));
    ASSERT_TRUE(ini.writeInt("Browser", "ChromiumPort", devTools.port()));
    ASSERT_TRUE(ini.writeInt("Browser", "OperaPort", freeLoopbackPort()));

    const RunResult chromium = runCli(home, {"--browser-url", "chromium"});
    EXPECT_EQ(chromium.out, "https://a.example/p\n") << shown(chromium);
    EXPECT_EQ(chromium.exitCode, 0);
    const RunResult opera = runCli(home, {"--browser-url", "opera"});
    EXPECT_EQ(opera.err.trimmed(), "ブラウザが起動していません。") << shown(opera);
    EXPECT_EQ(opera.exitCode, 1);
    EXPECT_EQ(runCli(home, {"--browser-url", "lynx"}).exitCode, 2);
}
