// The URL dialog's refusals, and the checks it starts, in table order.
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
