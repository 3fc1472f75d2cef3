// velmarin-cli's uploads against the real markup validators on loopback and
// a recorder for the services that have no local build.
#include "support/test.h"

#include <QTcpServer>

#include "checks/validator_request.h"
#include "fetch/http_client.h"
#include "support/validator_peers.h"

namespace {

struct UploadRun {
    int status = -1;
    QString out;
    QString err;
    std::string shown() const
    {
        return QStringLiteral("status %1\nout:\n%2err:\n%3").arg(status).arg(out, err)
            .toStdString();
    }
};

// The timeout and the answer cap are the program's unless given.
UploadRun runCli(const TempHome &home, const QStringList &arguments, int timeoutSeconds = 60,
                 qint64 capBytes = 0)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("VELMARIN_HOME"), home.path());
    env.insert(QStringLiteral("VELMARIN_UPLOAD_TIMEOUT"), QString::number(timeoutSeconds));
    if (capBytes > 0)
        env.insert(QStringLiteral("VELMARIN_DOWNLOAD_CAP"), QString::number(capBytes));
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(home.path());
    process.start(QStringLiteral(VELMARIN_CLI_PATH), arguments);
    process.waitForFinished(180000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

TEST(CliUpload, TheMarkupValidatorsOwnProgramsAnswer)
{
    ValidatorPeers peers(true);
    if (!peers.problem().isEmpty())
        GTEST_SKIP() << peers.problem().toStdString();
    TempHome home;
    home.write(QStringLiteral("strict.html"),
               "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
               "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" "
               "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">\n"
               "<html xmlns=\"http://www.w3.org/1999/xhtml\"><head><title>t</title></head>\n"
               "<body><p>x<b></p></body></html>\n");
    home.write(QStringLiteral("h5.html"),
               "<!DOCTYPE html>\n<html lang=\"ja\"><head><meta charset=\"utf-8\"><title>t</title>"
               "</head>\n<body><p>日本<b></p><img src=\"a.png\"></body></html>\n");
    setValidatorHosts(peers.origin(), {"Markup"});
    const struct {
        QStringList arguments;
        int status;  // 0 when the answer states no count of errors
        QStringList said;
        QString saved;
        QList<QByteArray> savedHolds;
    } cases[] = {
        // a DTD document goes to /check, which counts its errors
        {{"strict.html"}, 1,
         {"W3C Markup Validator: ", "結果: " + home.file("w3c_result.html"), "エラー: 1件"},
         "w3c_result.html", {"Markup Validation of strict.html"}},
        // an HTML5 document goes to the newer checker, asked for JSON here
        {{"--json", "h5.html"}, 1, {"Nu Html Checker: ", "エラー: 4件"}, "w3c_result.json",
         {"\"messages\""}},
        // without --json the window's own request: the form's file field
        {{"h5.html"}, 0, {}, "w3c_result.html",
         {"Showing results for h5.html", "Unclosed element"}},
        // a web address is fetched by the validator itself
        {{peers.origin() + "/none.html"}, 0, {}, QString(), {}},
    };
    for (const auto &c : cases) {
        const UploadRun run = runCli(home, QStringList{QStringLiteral("-w3c")} + c.arguments);
        EXPECT_EQ(run.status, c.status) << run.shown();
        for (const QString &text : c.said)
            EXPECT_TRUE(run.out.contains(text)) << text.toStdString() << run.shown();
        const QByteArray saved = c.saved.isNull() ? QByteArray() : home.read(c.saved);
        for (const QByteArray &text : c.savedHolds)
            EXPECT_TRUE(saved.contains(text))
                << text.toStdString() << saved.left(300).toStdString();
    }
}

TEST(CliUpload, TheOtherServicesGetTheWindowsBody)
{
    TempHome home;
    home.write(QStringLiteral("a b\"c.html"), "<p>\r\nx</p>");
    LocalHttpServer recorder;
    recorder.record(200, "<html>answer</html>", "X-W3C-Validator-Errors: 0\r\n");
    setValidatorHosts(recorder.origin(), {"Lint", "WDG", "CSS"});
    // the window's upload settings go along
    IniFile ini(ProgramFolder::iniPath());
    ini.writeInt("Lint", "TextBrowser", 2);
    ini.writeString("WDG", "Charset", "UTF-8");
    ini.writeString("CSS", "Profile", "CSS version 3");
    const UploadRun run = runCli(home, {QStringLiteral("-lint"), QStringLiteral("/WDG"),
                                        QStringLiteral("-cssu"), QStringLiteral("a b\"c.html")});
    EXPECT_EQ(run.status, 0) << run.shown();
    const QList<LocalHttpServer::Request> got = recorder.requests();
    ASSERT_EQ(got.size(), 3);
    const struct {
        QByteArray path;
        QByteArray field;
        FormFields fields;
        const char *saved;
    } expected[] = {  // in the command line's order
        {"/css-validator/validator", "file",
         {{"warning", "2"}, {"profile", "css3"}, {"usermedium", "all"}}, "cssu_result.html"},
        {"/k16/htmllint/htmllint.cgi", "File",
         {{"Stat", "on"}, {"Method", "File"}, {"ViewSource", "on"}, {"TextView", "w3m"}},
         "lint_result.html"},
        {"/cgi-bin/validate.cgi", "file",
         {{"charset", "UTF-8"}, {"warnings", "yes"}, {"input", "yes"}}, "wdg_result.html"},
    };
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(expected[i].path.toStdString());
        const LocalHttpServer::Request &r = got.at(i);
        EXPECT_EQ(r.method, "POST");
        EXPECT_EQ(r.target, expected[i].path);
        const QByteArray type = r.headers.value("content-type");
        ASSERT_TRUE(type.startsWith("multipart/form-data; boundary=---------------------------"));
        EXPECT_EQ(r.body, multipartBody(type.mid(type.indexOf('=') + 1), expected[i].field,
                                        "a b%22c.html", "<p>\r\nx</p>", expected[i].fields));
        EXPECT_EQ(home.read(QLatin1String(expected[i].saved)), "<html>answer</html>");
    }
    // A file that is not there is named and not sent.
    const UploadRun missing = runCli(home, {QStringLiteral("-wdg"), QStringLiteral("missing.html")});
    EXPECT_EQ(missing.status, 1) << missing.shown();
    EXPECT_TRUE(missing.err.contains(home.file(QStringLiteral("missing.html")))) << missing.shown();
    EXPECT_EQ(recorder.requests().size(), 3);
}

TEST(CliUpload, ServicesThatCannotBeReachedExitWithTwo)
{
    TempHome home;
    home.write(QStringLiteral("a.html"), "<p>x</p>");
    const QString refused = QStringLiteral("http://127.0.0.1:%1").arg(freeLoopbackPort());
    setValidatorHosts(refused);
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
        {refused, 600, QStringLiteral("接続が拒否されました")},
        {failing.origin(), 600, QStringLiteral("HTTP 500")},
        {looping.origin(), 600, QStringLiteral("リダイレクトが多すぎます")},
        {QStringLiteral("http://127.0.0.1:%1").arg(silent.serverPort()), 1,
         QStringLiteral("1秒以内に応答がありませんでした。")},
        {endless.url(""), 600, QStringLiteral("応答が大きすぎます(64 KiBまで)。")},
    };
    for (const auto &c : cases) {
        setValidatorHosts(c.host, {"WDG"});
        const UploadRun run = runCli(home, {QStringLiteral("-wdg"), QStringLiteral("a.html")},
                                     c.timeoutSeconds, 64 << 10);
        EXPECT_EQ(run.status, 2) << run.shown();
        EXPECT_TRUE(run.err.contains(QStringLiteral("WDG HTML Validatorに接続できませんでした")))
            << run.shown();
        EXPECT_TRUE(run.err.contains(c.said, Qt::CaseInsensitive)) << run.shown();
    }
    // Refused before anything is sent (exit 1); mixed with other checks (exit 2).
    QFile big(home.file(QStringLiteral("big.html")));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly) && big.resize(50 * 1024 * 1024));
    big.close();
    const UploadRun tooBig = runCli(home, {QStringLiteral("-wdg"), QStringLiteral("big.html")});
    EXPECT_EQ(tooBig.status, 1) << tooBig.shown();
    EXPECT_TRUE(tooBig.err.contains(QStringLiteral("10 MiBまで"))) << tooBig.shown();
    const UploadRun mixed = runCli(home, {"-w3c", "-tidy", "a.html"});
    EXPECT_EQ(mixed.status, 2) << mixed.shown();
}

}  // namespace
