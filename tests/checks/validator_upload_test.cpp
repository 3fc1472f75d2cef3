// SendToValidator and its workers: slots, separate windows, refusals.
#include "checks/validator_upload.h"

#include "checks/validator_hosts.h"
#include "checks/validator_request.h"
#include "support/fake_upload_browsers.h"
#include "support/test.h"
#include "support/validator_peers.h"

namespace {

void settle()
{
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
}

class ValidatorUploadTest : public ::testing::Test {
protected:
    ValidatorUploadTest() : upload(view, options)
    {
        upload.setBrowsers(&browsers);
        setValidatorHosts("http://127.0.0.1:9");
        home.write("a.html", "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\">\n<p>a</p>");
        file = home.file("a.html");
    }
    TempHome home;
    RecordingView view;
    UploadOptions options = UploadOptions::atCreation();
    FakeUploadBrowsers browsers;
    ValidatorUpload upload;
    QString file;
};

TEST_F(ValidatorUploadTest, SlotsFollowTheServiceNotTheWorkerAndSeparateWindows)
{
    ASSERT_TRUE(upload.sendToValidator(file, 2, false));
    UploadWorker *first = upload.slot(2);
    ASSERT_TRUE(upload.sendToValidator(file, 2, false));
    UploadWorker *second = upload.slot(2);
    EXPECT_NE(first, second);  // the later one takes the slot
    settle();
    // The first, ending, emptied the slot that held the second.
    EXPECT_EQ(browsers.embedded.urls.size(), 2);
    EXPECT_EQ(upload.slot(2), nullptr);
    EXPECT_EQ(view.page, 3);
    const int frontBefore = view.broughtToFront;
    browsers.embedded.finishLoad();
    settle();
    EXPECT_TRUE(upload.allSlotsEmpty());
    EXPECT_EQ(view.broughtToFront, frontBefore + 1);  // all four slots empty

    // Terminated before it started: never navigates.
    upload.sendToValidator(file, 1, false);
    upload.terminateAll();
    settle();
    EXPECT_EQ(browsers.embedded.urls.size(), 2);
    EXPECT_EQ(upload.slot(1), nullptr);

    // Separate windows beside the embedded browser.
    browsers.embedded.urls.clear();
    upload.sendToValidator(file, 0, false);
    upload.sendToValidator("http://example.org/p.html", 2, true);
    upload.sendToValidator(file, 3, true);
    settle();
    EXPECT_EQ(browsers.embedded.urls, QStringList{"http://127.0.0.1:9/check"});
    ASSERT_EQ(browsers.windows.size(), 2u);
    EXPECT_EQ(browsers.windows[0]->posts, QList<bool>{false});
    EXPECT_TRUE(browsers.windows[0]->urls.value(0).startsWith(
        "http://127.0.0.1:9/cgi-bin/validate.cgi?url=http%3A%2F%2Fexample.org"));
    EXPECT_EQ(browsers.windows[1]->urls, QStringList{"http://127.0.0.1:9/css-validator/validator"});
    // A worker waits for its browser's load, however long.
    EXPECT_NE(upload.slot(0), nullptr);
    const int front = view.broughtToFront;
    browsers.embedded.finishLoad();
    browsers.windows[0]->finishLoad();
    settle();
    EXPECT_EQ(upload.slot(0), nullptr);
    EXPECT_NE(upload.slot(3), nullptr);
    EXPECT_EQ(view.broughtToFront, front);
    browsers.windows[1]->finishLoad();
    settle();
    EXPECT_EQ(view.broughtToFront, front + 1);
}

// Nothing readable, nothing sent (an empty upload would read as a clean
// result), and the notice says why.
TEST_F(ValidatorUploadTest, RefusalsSendNothingAndSayWhy)
{
    home.write("over.html", QByteArray(kUploadLimit + 1, 'a'));
    const QString locked = home.file("locked.html");
    home.write("locked.html", "secret");
    QFile::setPermissions(locked, QFileDevice::WriteOwner);
    const bool rootReadsAll = QFile(locked).open(QIODevice::ReadOnly);
    const QString unreadable = "ファイルを読めないため送信しませんでした。\n";
    const QString missing = "ファイルが見つからないため送信しませんでした。\n";
    const QString notHttp = "HTTP以外のプロトコルは処理できません。";
    const struct {
        QString target;
        int service;
        QString notice;
    } cases[] = {
        {home.file("over.html"), 0,
         "ファイルが大きすぎるため送信しませんでした(10 MiBまで)。\n" + home.file("over.html")},
        {locked, 0, rootReadsAll ? QString() : unreadable + locked},
        {home.path(), 2, unreadable + home.path()},
        {home.file("missing.html"), 2, missing + home.file("missing.html")},
        {"file://" + home.file("missing.html"), 3, missing + home.file("missing.html")},
        {"ftp://host/a.html", 1, notHttp},
        {"WAIS://host", 1, notHttp},
        {"Gopher://host/1", 1, notHttp},
    };
    for (const auto &c : cases) {
        if (c.notice.isNull()) continue;
        view.notices.clear();
        EXPECT_FALSE(upload.sendToValidator(c.target, c.service, false)) << c.target.toStdString();
        EXPECT_EQ(view.notices, QStringList{c.notice});
    }
    EXPECT_EQ(view.page, 3);  // switched before the refusal
    EXPECT_TRUE(browsers.embedded.urls.isEmpty());

    // At the limit it goes; a document without a DTD to the newer checker.
    home.write("h5.html", "<!DOCTYPE html>\n" + QByteArray(kUploadLimit - 16, 'a'));
    EXPECT_TRUE(upload.sendToValidator(home.file("h5.html"), 0, false));
    EXPECT_TRUE(view.lastStatus.startsWith("Nu Html Checkerへ送信しています: "))
        << view.lastStatus.toStdString();
    settle();
    EXPECT_EQ(browsers.embedded.urls, QStringList{"http://127.0.0.1:9/nu/"});
}

TEST(ValidatorHosts, TheSettingsFileNamesEachServicesHost)
{
    TempHome home;
    const struct {
        const char *section;
        QString stored;  // null: no key
        int service;
        QString host;
    } cases[] = {
        {"Markup", QString(), 0, "http://validator.w3.org"},
        {"Lint", "", 1, "http://openlab.ring.gr.jp"},
        {"WDG", "http://127.0.0.1:8080/", 2, "http://127.0.0.1:8080"},
        {"CSS", "https://css.example", 3, "https://css.example"},
        {"CSS", "ftp://css.example", 3, "http://jigsaw.w3.org"},
        {"CSS", "http://css.example/validator", 3, "http://jigsaw.w3.org"},
    };
    for (const auto &c : cases) {
        if (!c.stored.isNull()) setValidatorHosts(c.stored, {c.section});
        EXPECT_EQ(ValidatorHosts::host(c.service), c.host) << c.section;
    }
}

}  // namespace
