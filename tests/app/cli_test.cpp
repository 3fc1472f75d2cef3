// The console program, run as a user would run it.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>

#include "support/local_http_server.h"
#include "support/temp_home.h"

namespace {

struct CliRun {
    int status = -1;
    QString out;
    QString err;
};

CliRun runCli(const TempHome &home, const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("VELMARIN_HOME", home.path());
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(VELMARIN_CLI_PATH), arguments);
    process.waitForFinished(60000);
    return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardOutput()),
            QString::fromLocal8Bit(process.readAllStandardError())};
}

}  // namespace

TEST(Cli, PrintsTheResultListAndFailsOnErrors)
{
    TempHome home;
    home.write("warn.html",
               "<!DOCTYPE html>\n<html><head><title>t</title></head><body>\n<p>x<b>y</p>\n"
               "</body></html>\n");
    home.write("error.html",
               "<!DOCTYPE html>\n<html><head><title>t</title></head><body>\n<unknowntag>\n"
               "</body></html>\n");

    const CliRun warn = runCli(home, {home.file("warn.html")});
    EXPECT_EQ(warn.status, 0) << warn.out.toStdString() << warn.err.toStdString();
    EXPECT_TRUE(warn.out.startsWith(QStringLiteral("情報: チェックしたHTML: ") +
                                    home.file("warn.html") + u'\n'));
    EXPECT_TRUE(warn.out.contains("\n行 3 位置"));
    EXPECT_FALSE(warn.out.contains(u'\r'));
    // The tidied page stays in the working folder and is named on stderr.
    EXPECT_TRUE(warn.err.contains(home.file("temp/tidy_out0.txt")));
    // A first start wrote the same files as the window does.
    EXPECT_FALSE(home.read("Velmarin.txt").isEmpty());
    EXPECT_FALSE(home.read("Velmarin.ini").isEmpty());

    const CliRun error = runCli(home, {home.file("error.html")});
    EXPECT_EQ(error.status, 1) << error.out.toStdString();
    EXPECT_TRUE(error.out.contains("Error: <unknowntag> is not recognized!"));
}

TEST(Cli, UncheckableDocumentsAndBadUsage)
{
    TempHome home;
    const CliRun missing = runCli(home, {home.file("none.html")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.out.isEmpty());
    EXPECT_TRUE(missing.err.contains("ファイルがありません。" + home.file("none.html")));
    EXPECT_EQ(runCli(home, {"--folder", home.file("nowhere")}).status, 1);

    EXPECT_EQ(runCli(home, {}).status, 2);
    EXPECT_EQ(runCli(home, {"--no-such-option"}).status, 2);
    const CliRun help = runCli(home, {"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.startsWith("使い方: velmarin-cli"));
}

TEST(Cli, SeveralDocumentsAFolderAndTheCssList)
{
    TempHome home;
    home.write("site/a.html", "<p>a");
    home.write("site/sub/b.html", "<p>b");
    home.write("site/my docs/c.html", "<p>c");

    // Each entry's report in entry order; an unquoted path is joined again.
    const CliRun several = runCli(home, {home.file("site/a.html"), home.file("site/my"),
                                         "docs/c.html"});
    const QString first = "情報: チェックしたHTML: " + home.file("site/a.html");
    const QString second = "情報: チェックしたHTML: " + home.file("site/my docs/c.html");
    EXPECT_TRUE(several.out.startsWith(first + u'\n')) << several.out.toStdString();
    EXPECT_GT(several.out.indexOf(second), several.out.indexOf(first));

    // The folder batch, with and without sub-folders.
    const CliRun flat = runCli(home, {"--folder", home.file("site")});
    EXPECT_EQ(flat.out.count("情報: チェックしたHTML: "), 1) << flat.out.toStdString();
    const CliRun deep = runCli(home, {"--folder", home.file("site"), "--subdir"});
    EXPECT_EQ(deep.out.count("情報: チェックしたHTML: "), 3);

    // Functions of later versions say so on stderr; the CSS list prints as saved.
    const CliRun upload = runCli(home, {"-w3c", home.file("site/a.html")});
    EXPECT_TRUE(upload.err.contains("まだ使えません")) << upload.err.toStdString();
    // (No validator is installed here: Java's complaint is the list.)
    const CliRun css = runCli(home, {"-css", "http://127.0.0.1:1/x.css"});
    EXPECT_TRUE(css.out.contains("org.w3c.css.css.")) << css.out.toStdString();
    EXPECT_FALSE(css.out.contains(u'\r'));
}

TEST(Cli, LinkListOneRowALine)
{
    TempHome home;
    LocalHttpServer server;
    server.setPage("/ok.html", "ok");
    QByteArray page = "<a href=\"" + server.url("/ok.html").toUtf8() + "\">a</a>";
    home.write("two.html", page + "<img src=\"" + server.url("/gone.png").toUtf8() + "\">");
    // Eleven links go to the two workers; the program waits for both.
    QByteArray many;
    for (int i = 0; i < 11; ++i)
        many += page;
    home.write("many.html", many);

    const CliRun two = runCli(home, {"-link", home.file("two.html")});
    EXPECT_EQ(two.out, server.url("/ok.html") + "\t200(OK)\n" + server.url("/gone.png") +
                           "\t404(Not Found)\n");
    EXPECT_EQ(two.status, 1);

    const CliRun eleven = runCli(home, {"-link", home.file("many.html")});
    EXPECT_EQ(eleven.out.count("\t200(OK)\n"), 11) << eleven.out.toStdString();
    EXPECT_EQ(eleven.status, 0);
}
