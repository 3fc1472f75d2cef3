// The uploads of the URL dialog and the command line: refusals, presets, browsers.
#include "app/main_actions.h"
#include "app/url_checks.h"
#include "support/fake_upload_browsers.h"
#include "support/test.h"
#include "support/validator_peers.h"

namespace {

const QString kNowhere = QStringLiteral("http://127.0.0.1:9");

// The main window's actions with browsers that only record.
struct Actions {
    Actions() { actions.upload().setBrowsers(&browsers); }
    void settle()
    {
        for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
    }
    RecordingView view;
    RecordingRunner runner;
    MainActions actions{view, runner};
    FakeUploadBrowsers browsers;
};

TEST(UrlDialog, RefusesInTheOrderOfItsRules)
{
    const QString noUrl = QStringLiteral("URLを指定してください。");
    const QString notHttp = QStringLiteral("HTTP以外のプロトコルには対応していません。");
    const QString control =
        QStringLiteral("URLに改行などの制御文字が含まれています。1行のURLを指定してください。");
    const struct {
        QString text;
        bool ticked;
        QString refusal;
    } cases[] = {
        {QString(), false, noUrl},
        {QStringLiteral("HTTP://"), true, noUrl},
        {QStringLiteral("ftp://host/a.html"), true, notHttp},
        {QStringLiteral("www.example.org"), true, notHttp},
        {QStringLiteral("http://host/"), false,
         QStringLiteral("実行したいチェックを選択してください。")},
        {QStringLiteral("HTTPS://host/"), true, QString()},
        {QStringLiteral("http://a.example/\r\nhttp://b.example/"), false, control},
        {QStringLiteral("http://a.example/\tx"), true, control},
    };
    for (const auto &c : cases)
        EXPECT_EQ(urlDialogRefusal(c.text, c.ticked), c.refusal) << c.text.toStdString();
}

TEST(UrlDialog, TickedUploadsShareOutTheBrowsers)
{
    TempHome home;
    setValidatorHosts(kNowhere);
    Actions a;
    const struct {
        QVector<bool> ticked;
        int windows;  // besides WB2, which always gets the first
    } cases[] = {
        {{false, false, false, true, false, true, false}, 1},   // markup validator and WDG
        {{false, false, false, false, false, false, true}, 0},  // one upload stays in WB2
        {{false, false, false, true, true, true, true}, 3},
    };
    for (const auto &c : cases) {
        a.view.enabled.clear();
        a.browsers.embedded.urls.clear();
        a.browsers.windows.clear();
        a.actions.runUrlChecks(QStringLiteral("http://example.org/"), c.ticked);
        a.settle();
        EXPECT_EQ(a.browsers.embedded.urls.size(), 1);
        EXPECT_EQ(int(a.browsers.windows.size()), c.windows);
        EXPECT_EQ(a.view.enabled.value(Control::ToolBar1, false), true);  // disabled, then back
        a.browsers.embedded.finishLoad();
        for (auto &w : a.browsers.windows) w->finishLoad();
        a.settle();
    }
}

TEST(CommandLineUploads, PresetFromTheFilesDeclarations)
{
    TempHome home;
    setValidatorHosts(kNowhere);
    const QByteArray html4 = "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\n";
    const QByteArray meta = "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=";
    home.write(QStringLiteral("sjis.html"),
               "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" "
               "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">\n<html><head>" +
                   meta + "Shift_JIS\">");
    home.write(QStringLiteral("euc.html"), html4 + meta + "EUC-JP\">");
    home.write(QStringLiteral("latin.html"), html4 + meta + "iso-8859-1\">");
    home.write(QStringLiteral("utf.html"), "<!DOCTYPE html>\n<meta charset=\"utf-8\">");
    const QString detect = QStringLiteral("(detect automatically)");
    const struct {
        const char *upload;
        const char *file;
        QString markupCharset;
        QString wdgCharset;
        QString markupType;
    } cases[] = {
        // before the CSS validator: charset and document type
        {"-cssu", "sjis.html", QStringLiteral("shift_jis (Japanese, Win/Mac)"),
         QStringLiteral("Shift_JIS"), QStringLiteral("XHTML 1.0 Strict")},
        // before the markup validator: charset only
        {"-w3c", "euc.html", QStringLiteral("euc-jp (Japanese, Unix)"), QStringLiteral("EUC-JP"),
         detect},
        // a document type the validator has no item for: its own detection
        {"-cssu", "utf.html", QStringLiteral("utf-8 (Unicode, worldwide)"), QStringLiteral("UTF-8"),
         detect},
        // an undeclared or other charset presets nothing, not even the type
        {"-cssu", "latin.html", detect, QStringLiteral("ISO-8859-1"), detect},
        // before HTML Lint: nothing
        {"-lint", "sjis.html", detect, QStringLiteral("ISO-8859-1"), detect},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file);
        Actions a;
        a.actions.start();
        a.actions.processCommandLine({QLatin1String(c.upload), home.file(QLatin1String(c.file))});
        const UploadOptions &u = a.actions.settings().upload;
        EXPECT_EQ(u.markupCharset, c.markupCharset);
        EXPECT_EQ(u.wdgCharset, c.wdgCharset);
        EXPECT_EQ(u.markupType, c.markupType);
    }
}

TEST(UploadActions, FileDialogFilterAndWhereTheFileGoes)
{
    TempHome home;
    setValidatorHosts(kNowhere);
    home.write(QStringLiteral("a.css"), "p { color: red }");
    const QString others = QStringLiteral("|テキストファイル(*.txt)|*.txt|全てのファイル(*.*)|*.*");
    const QString html = QStringLiteral("HTMLファイル(*.html;*.htm)|*.html;*.htm") + others;
    const struct {
        int service;
        QString filter;
        QString path;
    } cases[] = {
        {0, html, QStringLiteral("/nu/")},  // no DTD in a style sheet
        {1, html, QStringLiteral("/k16/htmllint/htmllint.cgi")},
        {2, html, QStringLiteral("/cgi-bin/validate.cgi")},
        {3, QStringLiteral("CSSファイル(*.css)|*.css") + others,
         QStringLiteral("/css-validator/validator")},
    };
    for (const auto &c : cases) {
        Actions a;
        a.actions.uploadFileAction(c.service);  // cancelled: nothing happens
        EXPECT_EQ(a.view.page, -1);
        a.view.openFileAnswer = home.file(QStringLiteral("a.css"));
        a.actions.uploadFileAction(c.service);
        EXPECT_EQ(a.view.lastFilter, c.filter);
        EXPECT_EQ(a.actions.folders().lastDir(), home.path());
        a.settle();
        EXPECT_EQ(a.browsers.embedded.urls, QStringList{kNowhere + c.path});
        EXPECT_TRUE(a.browsers.windows.empty());
    }
}

}  // namespace
