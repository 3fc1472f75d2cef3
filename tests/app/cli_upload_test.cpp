// velmarin-cli's uploads against the real markup validators on loopback and
// a recorder for the services that have no local build.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTcpServer>

#include "checks/validator_request.h"
#include "platform/ini_file.h"
#include "platform/program_folder.h"
#include "support/recording_http_server.h"
#include "support/temp_home.h"
#include "support/validator_peers.h"

namespace {

const QByteArray kXhtml =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
    "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" "
    "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">\n"
    "<html xmlns=\"http://www.w3.org/1999/xhtml\"><head><title>t</title></head>\n"
    "<body><p>x<b></p></body></html>\n";
const QByteArray kHtml5 =
    "<!DOCTYPE html>\n<html lang=\"ja\"><head><meta charset=\"utf-8\"><title>t</title></head>\n"
    "<body><p>日本<b></p><img src=\"a.png\"></body></html>\n";

struct UploadRun {
    int status = -1;
    QString out;
    QString err;
};

UploadRun runCli(const TempHome &home, const QStringList &arguments, int timeoutSeconds = 60)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("VELMARIN_HOME"), home.path());
    env.insert(QStringLiteral("VELMARIN_UPLOAD_TIMEOUT"), QString::number(timeoutSeconds));
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(home.path());
    process.start(QStringLiteral(VELMARIN_CLI_PATH), arguments);
    process.waitForFinished(180000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

std::string shown(const UploadRun &run)
{
    return ("status " + QString::number(run.status) + "\nout:\n" + run.out + "err:\n" + run.err)
        .toStdString();
}

void setHost(const char *section, const QString &origin)
{
    IniFile(ProgramFolder::iniPath()).writeString(QLatin1String(section), QStringLiteral("Host"),
                                                  origin);
}

// Both markup validators, started once for this program.
ValidatorPeers &peers()
{
    static ValidatorPeers *shared = [] {
        auto *p = new ValidatorPeers(true);
        struct Stop : ::testing::Environment {
            explicit Stop(ValidatorPeers *p) : m_p(p) {}
            void TearDown() override { delete m_p; }
            ValidatorPeers *m_p;
        };
        ::testing::AddGlobalTestEnvironment(new Stop(p));
        return p;
    }();
    return *shared;
}

TEST(CliUpload, TheMarkupValidatorsOwnProgramsAnswer)
{
    if (!peers().problem().isEmpty())
        GTEST_SKIP() << peers().problem().toStdString();
    TempHome home;
    home.write(QStringLiteral("strict.html"), kXhtml);
    home.write(QStringLiteral("h5.html"), kHtml5);
    setHost("Markup", peers().origin());

    // A DTD document goes to /check, which says how many errors it found.
    const UploadRun strict = runCli(home, {QStringLiteral("-w3c"), QStringLiteral("strict.html")});
    EXPECT_EQ(strict.status, 1) << shown(strict);
    EXPECT_TRUE(strict.out.contains(QStringLiteral("W3C Markup Validator: "))) << shown(strict);
    EXPECT_TRUE(strict.out.contains(QStringLiteral("結果: ") + home.file("w3c_result.html")));
    EXPECT_TRUE(strict.out.contains(QStringLiteral("エラー: 1件"))) << shown(strict);
    EXPECT_TRUE(home.read(QStringLiteral("w3c_result.html")).contains("Markup Validation of strict.html"));

    // An HTML5 document goes to the newer checker, asked for JSON here.
    const UploadRun h5 = runCli(home, {QStringLiteral("-w3c"), QStringLiteral("--json"),
                                 QStringLiteral("h5.html")});
    EXPECT_EQ(h5.status, 1) << shown(h5);
    EXPECT_TRUE(h5.out.contains(QStringLiteral("Nu Html Checker: "))) << shown(h5);
    EXPECT_TRUE(h5.out.contains(QStringLiteral("エラー: 4件"))) << shown(h5);
    EXPECT_TRUE(home.read(QStringLiteral("w3c_result.json")).contains("\"messages\""));

    // Without --json the window's own request: the form's file field.
    const UploadRun h5Page = runCli(home, {QStringLiteral("-w3c"), QStringLiteral("h5.html")});
    EXPECT_EQ(h5Page.status, 0) << shown(h5Page);  // a page that states no count
    const QByteArray page = home.read(QStringLiteral("w3c_result.html"));
    EXPECT_TRUE(page.contains("Showing results for h5.html")) << page.left(300).toStdString();
    EXPECT_TRUE(page.contains("Unclosed element")) << page.left(300).toStdString();

    // A web address is fetched by the validator itself.
    const UploadRun byUrl = runCli(home, {QStringLiteral("-w3c"), peers().origin() + QStringLiteral("/none.html")});
    EXPECT_EQ(byUrl.status, 0) << shown(byUrl);  // its answer states no count of errors
}

TEST(CliUpload, TheOtherServicesGetTheWindowsBody)
{
    TempHome home;
    home.write(QStringLiteral("a b\"c.html"), "<p>\r\nx</p>");
    RecordingHttpServer recorder;
    recorder.setAnswer({200, "<html>answer</html>", "X-W3C-Validator-Errors: 0\r\n"});
    for (const char *section : {"Lint", "WDG", "CSS"})
        setHost(section, recorder.origin());
    // The upload settings of the window are sent.
    IniFile ini(ProgramFolder::iniPath());
    ini.writeInt(QStringLiteral("Lint"), QStringLiteral("TextBrowser"), 2);
    ini.writeString(QStringLiteral("WDG"), QStringLiteral("Charset"), QStringLiteral("UTF-8"));
    ini.writeString(QStringLiteral("CSS"), QStringLiteral("Profile"), QStringLiteral("CSS version 3"));
    const UploadRun run = runCli(home, {QStringLiteral("-lint"), QStringLiteral("/WDG"),
                                  QStringLiteral("-cssu"), QStringLiteral("a b\"c.html")});
    EXPECT_EQ(run.status, 0) << shown(run);
    const QList<RecordingHttpServer::Request> got = recorder.requests();
    ASSERT_EQ(got.size(), 3);
    // In the command line's order: CSS, Lint, WDG.
    const struct {
        QByteArray path;
        QByteArray field;
        FormFields fields;
        const char *saved;
    } expected[] = {
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
        const RecordingHttpServer::Request &r = got.at(i);
        EXPECT_EQ(r.method, "POST");
        EXPECT_EQ(r.target, expected[i].path);
        const QByteArray type = r.header("Content-Type");
        ASSERT_TRUE(type.startsWith("multipart/form-data; boundary=---------------------------"));
        const QByteArray boundary = type.mid(type.indexOf('=') + 1);
        EXPECT_EQ(r.body.toStdString(),
                  multipartBody(boundary, expected[i].field, "a b%22c.html", "<p>\r\nx</p>",
                                expected[i].fields)
                      .toStdString());
        EXPECT_EQ(home.read(QLatin1String(expected[i].saved)), "<html>answer</html>");
    }
}

TEST(CliUpload, ServicesThatCannotBeReachedExitWithTwo)
{
    TempHome home;
    home.write(QStringLiteral("a.html"), "<p>x</p>");
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    const QString refused = QStringLiteral("http://127.0.0.1:%1").arg(closed.serverPort());
    closed.close();
    RecordingHttpServer failing;
    failing.setAnswer({500, "<h1>broken</h1>", ""});
    RecordingHttpServer looping;
    looping.setAnswer({302, "", "Location: /cgi-bin/validate.cgi\r\n"});
    QTcpServer silent;  // accepts and never answers
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    const struct {
        QString host;
        QString said;
    } cases[] = {
        {refused, QStringLiteral("Connection refused")},
        {failing.origin(), QStringLiteral("HTTP 500")},
        {looping.origin(), QStringLiteral("redirect")},
        {QStringLiteral("http://127.0.0.1:%1").arg(silent.serverPort()),
         QStringLiteral("2秒以内に応答がありませんでした。")},
    };
    for (const auto &c : cases) {
        setHost("WDG", c.host);
        const UploadRun run = runCli(home, {QStringLiteral("-wdg"), QStringLiteral("a.html")}, 2);
        EXPECT_EQ(run.status, 2) << shown(run);
        EXPECT_TRUE(run.err.contains(QStringLiteral("WDG HTML Validatorに接続できませんでした")))
            << shown(run);
        EXPECT_TRUE(run.err.contains(c.said, Qt::CaseInsensitive)) << shown(run);
    }
    // Refused before anything is sent: too large, other protocols; mixed with other checks.
    QFile big(home.file(QStringLiteral("big.html")));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly) && big.resize(50 * 1024 * 1024));
    big.close();
    const UploadRun tooBig = runCli(home, {QStringLiteral("-wdg"), QStringLiteral("big.html")});
    EXPECT_EQ(tooBig.status, 1) << shown(tooBig);
    EXPECT_TRUE(tooBig.err.contains(QStringLiteral("10 MiBまで"))) << shown(tooBig);
    const UploadRun mixed = runCli(home, {QStringLiteral("-w3c"), QStringLiteral("-tidy"),
                                    QStringLiteral("a.html")});
    EXPECT_EQ(mixed.status, 2) << shown(mixed);
}

}  // namespace
