// The uploads of the URL dialog and the command line: refusals, presets, browsers.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include "app/main_actions.h"
#include "app/url_checks.h"
#include "platform/ini_file.h"
#include "platform/program_folder.h"
#include "support/fake_upload_browsers.h"
#include "support/recording_runner.h"
#include "support/recording_view.h"
#include "support/temp_home.h"

namespace {

TEST(UrlDialog, RefusesInTheOrderOfItsRules)
{
    const struct {
        QString text;
        bool ticked;
        QString refusal;
    } cases[] = {
        {QString(), false, QStringLiteral("URLを指定してください。")},
        {QStringLiteral("HTTP://"), true, QStringLiteral("URLを指定してください。")},
        {QStringLiteral("ftp://host/a.html"), true,
         QStringLiteral("HTTP以外のプロトコルには対応していません。")},
        {QStringLiteral("www.example.org"), true,
         QStringLiteral("HTTP以外のプロトコルには対応していません。")},
        {QStringLiteral("http://host/"), false, QStringLiteral("実行したいチェックを選択してください。")},
        {QStringLiteral("HTTPS://host/"), true, QString()},
    };
    for (const auto &c : cases)
        EXPECT_EQ(urlDialogRefusal(c.text, c.ticked), c.refusal) << c.text.toStdString();
}

TEST(UrlDialog, TickedUploadsShareOutTheBrowsers)
{
    TempHome home;
    for (const char *section : {"Markup", "Lint", "WDG", "CSS"})
        IniFile(ProgramFolder::iniPath())
            .writeString(QLatin1String(section), QStringLiteral("Host"),
                         QStringLiteral("http://127.0.0.1:9"));
    RecordingView view;
    RecordingRunner runner;
    MainActions actions(view, runner);
    FakeUploadBrowsers browsers;
    actions.upload().setBrowsers(&browsers);
    const QString url = QStringLiteral("http://example.org/");
    const struct {
        QVector<bool> ticked;
        int embedded;
        int windows;
    } cases[] = {
        // markup validator and WDG: the first in WB2, the other in a window
        {{false, false, false, true, false, true, false}, 1, 1},
        // a single upload of another service stays in WB2
        {{false, false, false, false, false, false, true}, 1, 0},
        {{false, false, false, true, true, true, true}, 1, 3},
    };
    for (const auto &c : cases) {
        view.enabled.clear();
        browsers.embedded.urls.clear();
        browsers.windows.clear();
        actions.runUrlChecks(url, c.ticked);
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
        EXPECT_EQ(browsers.embedded.urls.size(), c.embedded);
        EXPECT_EQ(int(browsers.windows.size()), c.windows);
        EXPECT_EQ(view.enabled.value(Control::ToolBar1, false), true);  // disabled, then back
        browsers.embedded.finishLoad();
        for (auto &w : browsers.windows)
            w->finishLoad();
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
    }
}

}  // namespace

namespace {

TEST(CommandLineUploads, PresetFromTheFilesDeclarations)
{
    TempHome home;
    for (const char *section : {"Markup", "Lint", "WDG", "CSS"})
        IniFile(ProgramFolder::iniPath())
            .writeString(QLatin1String(section), QStringLiteral("Host"),
                         QStringLiteral("http://127.0.0.1:9"));
    home.write(QStringLiteral("sjis.html"),
               "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" "
               "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">\n<html><head>"
               "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">");
    home.write(QStringLiteral("euc.html"),
               "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\n"
               "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=EUC-JP\">");
    home.write(QStringLiteral("latin.html"),
               "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\n"
               "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">");
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
         QStringLiteral("(detect automatically)")},
        // an undeclared or other charset presets nothing, not even the type
        {"-cssu", "latin.html", QStringLiteral("(detect automatically)"),
         QStringLiteral("ISO-8859-1"), QStringLiteral("(detect automatically)")},
        // before HTML Lint: nothing
        {"-lint", "sjis.html", QStringLiteral("(detect automatically)"),
         QStringLiteral("ISO-8859-1"), QStringLiteral("(detect automatically)")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file);
        RecordingView view;
        RecordingRunner runner;
        MainActions actions(view, runner);
        actions.start();
        FakeUploadBrowsers browsers;
        actions.upload().setBrowsers(&browsers);
        actions.processCommandLine({QLatin1String(c.upload), home.file(QLatin1String(c.file))});
        const UploadOptions &u = actions.settings().upload;
        EXPECT_EQ(u.markupCharset, c.markupCharset);
        EXPECT_EQ(u.wdgCharset, c.wdgCharset);
        EXPECT_EQ(u.markupType, c.markupType);
    }

}

}  // namespace

namespace {

TEST(UploadActions, FileDialogFilterAndWhereTheFileGoes)
{
    TempHome home;
    for (const char *section : {"Markup", "Lint", "WDG", "CSS"})
        IniFile(ProgramFolder::iniPath())
            .writeString(QLatin1String(section), QStringLiteral("Host"),
                         QStringLiteral("http://127.0.0.1:9"));
    home.write(QStringLiteral("a.css"), "p { color: red }");
    const QString html =
        QStringLiteral("HTMLファイル(*.html;*.htm)|*.html;*.htm|テキストファイル(*.txt)|*.txt|全てのファイル(*.*)|*.*");
    const QString css =
        QStringLiteral("CSSファイル(*.css)|*.css|テキストファイル(*.txt)|*.txt|全てのファイル(*.*)|*.*");
    const struct {
        int service;
        QString filter;
        QString path;
    } cases[] = {
        {0, html, QStringLiteral("/nu/")},  // no DTD in a style sheet
        {1, html, QStringLiteral("/k16/htmllint/htmllint.cgi")},
        {2, html, QStringLiteral("/cgi-bin/validate.cgi")},
        {3, css, QStringLiteral("/css-validator/validator")},
    };
    for (const auto &c : cases) {
        RecordingView view;
        RecordingRunner runner;
        MainActions actions(view, runner);
        FakeUploadBrowsers browsers;
        actions.upload().setBrowsers(&browsers);
        actions.uploadFileAction(c.service);  // cancelled: nothing happens
        EXPECT_EQ(view.page, -1);
        view.openFileAnswer = home.file(QStringLiteral("a.css"));
        actions.uploadFileAction(c.service);
        EXPECT_EQ(view.lastFilter, c.filter);
        EXPECT_EQ(actions.folders().lastDir(), home.path());
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
        EXPECT_EQ(browsers.embedded.urls, QStringList{QStringLiteral("http://127.0.0.1:9") + c.path});
        EXPECT_TRUE(browsers.windows.empty());
    }
}

}  // namespace
