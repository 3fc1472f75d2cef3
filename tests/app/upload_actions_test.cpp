// The uploads of the URL dialog and the command line: refusals, presets, browsers.
#include "app/main_actions.h"
#include "app/url_checks.h"
#include "support/fake_upload_browsers.h"
#include "support/test.h"
#include "support/validator_peers.h"

namespace {

const QString kNowhere = QStringLiteral("http://127.0.0.1:9");

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
    const QString noUrl = "URLを指定してください。",
                  notHttp = "HTTP以外のプロトコルには対応していません。";
    const QString control = "URLに改行などの制御文字が含まれています。1行のURLを指定してください。";
    const struct {
        QString text;
        bool ticked;
        QString refusal;
    } cases[] = {
        {"", false, noUrl},
        {"HTTP://", true, noUrl},
        {"ftp://host/a.html", true, notHttp},
        {"www.example.org", true, notHttp},
        {"http://host/", false, "実行したいチェックを選択してください。"},
        {"HTTPS://host/", true, ""},
        {"http://a.example/\r\nhttp://b.example/", false, control},
        {"http://a.example/\tx", true, control},
    };
    for (const auto &c : cases)
        EXPECT_EQ(urlDialogRefusal(c.text, c.ticked), c.refusal) << c.text.toStdString();
}

TEST(UrlDialog, TickedUploadsShareOutTheBrowsers)
{
    TempHome home;
    setValidatorHosts(kNowhere);
    const struct {
        QVector<bool> ticked;
        int windows;  // besides WB2, which always gets the first
    } cases[] = {
        {{false, false, false, true, false, true, false}, 1},   // markup validator and WDG
        {{false, false, false, false, false, false, true}, 0},  // one upload stays in WB2
        {{false, false, false, true, true, true, true}, 3},
    };
    for (const auto &c : cases) {
        Actions a;
        a.actions.runUrlChecks("http://example.org/", c.ticked);
        a.settle();
        EXPECT_EQ(a.browsers.embedded.urls.size(), 1);
        EXPECT_EQ(int(a.browsers.windows.size()), c.windows);
        EXPECT_EQ(a.view.enabled.value(Control::ToolBar1, false), true);  // disabled, then back
    }
}

// The upload switches of the command line preset the upload choices from the
// file's declarations: -w3c and -wdg the charset, -cssu the document type too.
TEST(CommandLineUploads, PresetFromTheFilesDeclarations)
{
    TempHome home;
    setValidatorHosts(kNowhere);
    const QByteArray html4 = "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\n";
    const QByteArray meta = "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=";
    home.write("sjis.html",
               "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" "
               "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">\n<html><head>" +
                   meta + "Shift_JIS\">");
    home.write("euc.html", html4 + meta + "EUC-JP\">");
    home.write("latin.html", html4 + meta + "iso-8859-1\">");
    home.write("utf.html", "<!DOCTYPE html>\n<meta charset=\"utf-8\">");
    const QString detect = "(detect automatically)", sjis = "shift_jis (Japanese, Win/Mac)";
    const struct {
        const char *upload;
        const char *file;
        QString markupCharset, wdgCharset, markupType;
    } cases[] = {
        {"-cssu", "sjis.html", sjis, "Shift_JIS", "XHTML 1.0 Strict"},
        {"-w3c", "euc.html", "euc-jp (Japanese, Unix)", "EUC-JP", detect},
        {"-wdg", "sjis.html", sjis, "Shift_JIS", detect},
        // a document type the validator has no item for: its own detection
        {"-cssu", "utf.html", "utf-8 (Unicode, worldwide)", "UTF-8", detect},
        // an undeclared or other charset presets nothing, not even the type
        {"-cssu", "latin.html", detect, "ISO-8859-1", detect},
        {"-lint", "sjis.html", detect, "ISO-8859-1", detect},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.upload) + " " + c.file);
        Actions a;
        a.actions.start();
        a.actions.processCommandLine({QLatin1String(c.upload), home.file(QLatin1String(c.file))});
        const UploadOptions &u = a.actions.settings().upload;
        EXPECT_EQ(u.markupCharset, c.markupCharset);
        EXPECT_EQ(u.wdgCharset, c.wdgCharset);
        EXPECT_EQ(u.markupType, c.markupType);
    }
}

TEST(UploadActions, FileDialogFilterAndTheEmbeddedBrowser)
{
    TempHome home;
    setValidatorHosts(kNowhere);
    home.write("a.css", "p { color: red }");
    const QString others = "|テキストファイル(*.txt)|*.txt|全てのファイル(*.*)|*.*";
    for (const auto &[service, filter] :
         {std::pair{2, "HTMLファイル(*.html;*.htm)|*.html;*.htm" + others},
          {3, "CSSファイル(*.css)|*.css" + others}}) {
        Actions a;
        a.actions.uploadFileAction(service);  // cancelled: nothing happens
        EXPECT_EQ(a.view.page, -1);
        a.view.openFileAnswer = home.file("a.css");
        a.actions.uploadFileAction(service);
        EXPECT_EQ(a.view.lastFilter, filter);
        EXPECT_EQ(a.actions.folders().lastDir(), home.path());
        a.settle();
        EXPECT_EQ(a.browsers.embedded.urls.size(), 1);
        EXPECT_TRUE(a.browsers.windows.empty());
    }
}

}  // namespace
