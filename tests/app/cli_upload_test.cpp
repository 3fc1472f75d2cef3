// velmarin-cli's uploads against the real markup validators on loopback and
// a recorder for the services that have no local build. The bodies, byte for
// byte, are checks/validator_request_test's.
#include <QTcpServer>

#include "support/process_run.h"
#include "support/test.h"
#include "support/validator_peers.h"

namespace {

// The timeout and the answer cap are the program's unless given.
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

TEST(CliUpload, TheMarkupValidatorsOwnProgramsAnswer)
{
    ValidatorPeers peers(true);
    if (!peers.problem().isEmpty()) GTEST_SKIP() << peers.problem().toStdString();
    TempHome home;
    home.write("strict.html",
               "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
               "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" "
               "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">\n"
               "<html xmlns=\"http://www.w3.org/1999/xhtml\"><head><title>t</title></head>\n"
               "<body><p>x<b></p></body></html>\n");
    home.write("h5.html",
               "<!DOCTYPE html>\n<html lang=\"ja\"><head><meta charset=\"utf-8\"><title>t</title>"
               "</head>\n<body><p>日本<b></p><img src=\"a.png\"></body></html>\n");
    setValidatorHosts(peers.origin(), {"Markup"});
    const struct {
        QStringList arguments;
        QStringList said;
        QString saved;
        QByteArray savedHolds;
    } cases[] = {
        // a DTD document goes to /check, which counts its errors
        {{"strict.html"},
         {"W3C Markup Validator: ", "結果: " + home.file("w3c_result.html"), "エラー: 1件"},
         "w3c_result.html",
         "Markup Validation of strict.html"},
        // an HTML5 document goes to the newer checker, asked for JSON here
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
        EXPECT_TRUE(got.at(i).body.contains("\r\n\r\n<p>x</p>\r\n"));  // the file's own bytes
        EXPECT_EQ(home.read(expected[i].saved), "<html>answer</html>");
    }

    // Refused before anything is sent: a file that is not there, one over the limit.
    QFile big(home.file("big.html"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly) && big.resize(50 * 1024 * 1024));
    big.close();
    for (const auto &[file, said] :
         {std::pair{"missing.html", home.file("missing.html")}, {"big.html", "10 MiBまで"}}) {
        const RunResult refused = runCli(home, {"-wdg", file});
        EXPECT_EQ(refused.exitCode, 1) << shown(refused);
        EXPECT_TRUE(refused.err.contains(said)) << shown(refused);
    }
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
    // Only the silent service is given a short time: no answer ever comes
    // from it, and every other one is given far more than it needs.
    const struct {
        QString host;
        int timeoutSeconds;
        QString said;
    } cases[] = {
        // Qt's own messages come in Japanese.
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

}  // namespace
