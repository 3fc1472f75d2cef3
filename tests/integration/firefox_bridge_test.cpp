// Firefox-family browsers, read through the profile's session store: a real
// headless Firefox ESR, the profiles.ini rules, and damaged stores.
#include <lz4.h>

#include "integration/browser_bridges.h"
#include "integration/firefox_profile.h"
#include "integration/firefox_session.h"
#include "support/browser_process.h"
#include "support/test.h"

using namespace Qt::Literals::StringLiterals;

namespace {

using Status = BrowserBridge::Page::Status;

void setSetting(const QString &key, const QString &value)
{
    ASSERT_TRUE(IniFile(ProgramFolder::iniPath()).writeString("Browser", key, value));
}

// The session store of a profile in `home`, relative to it.
QString storeOf(const TempHome &home, const QString &profile)
{
    return QDir(home.path()).relativeFilePath(FirefoxProfile::sessionStorePath(profile));
}

// Makes the profile's lock name a live process (this one), so Firefox counts as running.
void lockAsRunning(const QString &profile)
{
    QFile::link(u"127.0.0.1:+%1"_s.arg(QCoreApplication::applicationPid()),
                QDir(profile).filePath("lock"));
}

// A session store as Firefox writes it.
QByteArray mozLz4(const QByteArray &json)
{
    QByteArray block(LZ4_compressBound(json.size()), Qt::Uninitialized);
    block.resize(LZ4_compress_default(json.constData(), block.data(), json.size(), block.size()));
    const quint32 size = json.size();
    QByteArray file("mozLz40", 8);
    for (int i = 0; i < 4; ++i) file.append(static_cast<char>((size >> (8 * i)) & 0xff));
    return file + block;
}

const QByteArray kSession =
    R"({"windows":[{"tabs":[{"entries":[{"url":"https://w1.example/"}],"index":1}],"selected":1},)"
    R"({"tabs":[{"entries":[{"url":"https://old.example/"},{"url":"https://now.example/"}],"index":2},)"
    R"({"entries":[{"url":"about:blank"}],"index":1}],"selected":1}],"selectedWindow":2})";

}  // namespace

TEST(FirefoxBridge, ReadsTheSessionOfARealFirefoxEsr)
{
    ASSERT_FALSE(QStandardPaths::findExecutable(u"firefox-esr"_s).isEmpty())
        << "firefox-esr is not installed (scripts/setup.sh installs it)";
    TempHome home;
    LocalHttpServer server;
    server.setPage("/page.html", "<html><head><title>p</title></head><body>p</body></html>");
    // Quick session saves, no first-run pages.
    home.write("esr/user.js", readWholeFile(testDataPath("firefox_bridge_user.js")));
    const QString profile = home.file("esr");
    setSetting(u"FirefoxEsrProfile"_s, profile);
    RecordingRunner runner;
    DesktopBrowserBridge bridge(runner);
    EXPECT_EQ(bridge.currentPage(3).status, Status::NotRunning);

    BrowserBridge::Page page;
    {
        BrowserProcess firefox(
            u"firefox-esr"_s, {u"--headless"_s, u"--profile"_s, profile, server.url("/page.html")});
        ASSERT_TRUE(firefox.started());
        pollUntil(120000, [&] {  // a first start on a loaded machine is slow
            page = bridge.currentPage(3);
            return page.status == Status::Found && page.url == server.url("/page.html");
        });
        EXPECT_EQ(page.status, Status::Found) << firefox.output().toStdString();
        EXPECT_EQ(page.url, server.url("/page.html"));
    }
    // It quit: its store stays, but it no longer counts.
    EXPECT_TRUE(QFile::exists(FirefoxProfile::sessionStorePath(profile)));
    EXPECT_EQ(bridge.currentPage(3).status, Status::NotRunning);
}

TEST(FirefoxBridge, ProfilesSessionStoresAndTheBrowsersOwnRemote)
{
    const struct {
        const char *name;
        QByteArray ini;
        const char *expected;  // relative to the root; "/..." absolute
    } cases[] = {
        {"install section wins",
         "[Profile0]\nName=a\nIsRelative=1\nPath=a.default\nDefault=1\n\n"
         "[Install4F96D1932A9F858E]\nDefault=b.default-esr\nLocked=1\n",
         "b.default-esr"},
        {"profile with Default=1",
         "[General]\nStartWithLastProfile=1\r\n[Profile0]\r\nPath=x.one\r\nIsRelative=1\r\n"
         "[Profile1]\r\nPath=y.two\r\nIsRelative=1\r\nDefault=1\r\n",
         "y.two"},
        {"absolute path", "[Profile0]\nPath=/srv/ff/p\nIsRelative=0\nDefault=1\n", "/srv/ff/p"},
        {"the only profile", "[Profile0]\nPath=only\nIsRelative=1\n", "only"},
        {"two profiles, none default",
         "[Profile0]\nPath=p\nIsRelative=1\n[Profile1]\nPath=q\nIsRelative=1\n", ""},
        {"no profiles", "[General]\nVersion=2\n", ""},
        {"not an INI file", QByteArray("\0\xff\xfe[", 4), ""},
    };
    TempHome home;
    for (const auto &c : cases) {
        home.write("root/profiles.ini", c.ini);
        QString expected = c.expected;
        if (!expected.isEmpty() && !expected.startsWith(u'/'))
            expected = home.file("root/") + expected;
        EXPECT_EQ(FirefoxProfile::defaultProfile(home.file("root")), expected) << c.name;
    }

    // Without a setting the bridge reads the home folder's default profile;
    // a lock left behind by a Firefox that died is no running Firefox.
    const EnvGuard env{{"HOME", QFile::encodeName(home.path())}};
    home.write(".config/mozilla/firefox/profiles.ini",
               "[Profile0]\nPath=p.default\nIsRelative=1\nDefault=1\n");
    const QString profile = home.file(".config/mozilla/firefox/p.default");
    const QByteArray good = mozLz4(kSession);
    home.write(storeOf(home, profile), good);
    RecordingRunner runner;
    DesktopBrowserBridge bridge(runner);
    EXPECT_EQ(bridge.currentPage(1).status, Status::NotRunning);
    QFile::link(u"127.0.0.1:+2147483646"_s, profile + "/lock");
    EXPECT_EQ(bridge.currentPage(1).status, Status::NotRunning);
    QFile::remove(profile + "/lock");
    lockAsRunning(profile);
    EXPECT_EQ(bridge.currentPage(1).url, u"https://now.example/"_s);  // the selected tab's entry

    // A profile in the settings wins: its damaged stores name no address, a
    // missing one is unreachable.
    setSetting(u"FirefoxProfile"_s, home.file("set"));
    const QString store = storeOf(home, home.file("set"));
    home.write(store, good);
    lockAsRunning(home.file("set"));
    const QByteArray tab =
        R"({"tabs":[{"entries":[{"url":"https://a/"}],"index":1}],"selected":1})";
    const struct {
        const char *name;
        QByteArray file;
    } damaged[] = {
        {"truncated", good.left(good.size() - 10)},
        {"header only", good.left(12)},
        {"empty", QByteArray()},
        {"wrong magic", QByteArray(good).replace(3, 1, "l")},
        {"claims 4 GiB", QByteArray(good).replace(8, 4, "\xff\xff\xff\xff")},
        {"claims one byte more than the block holds",
         QByteArray(good).replace(8, 1, QByteArray(1, char(good[8] + 1)))},
        {"JSON without windows", mozLz4(R"({"version":["sessionrestore",1]})")},
        {"selected window out of range",
         mozLz4(R"({"windows":[)" + tab + R"(],"selectedWindow":2})")},
        {"index 0",
         mozLz4(R"({"windows":[)" + QByteArray(tab).replace("\"index\":1", "\"index\":0") +
                R"(],"selectedWindow":1})")},
        {"not JSON", mozLz4("{\"windows\":[{")},
    };
    for (const auto &c : damaged) {
        home.write(store, c.file);
        const BrowserBridge::Page page = bridge.currentPage(1);
        EXPECT_EQ(page.status, Status::NoAddress) << c.name;
        EXPECT_EQ(page.url, QString()) << c.name;
    }
    QFile::remove(home.file(store));
    EXPECT_EQ(bridge.currentPage(1).status, Status::Unreachable);

    // Files are opened through the browser's own remote: a headless Firefox
    // does not take --new-tab from a second start, so the command line is checked.
    const QString file = home.file(u"\u7d50\u679c #1/Tidy_Result.txt"_s);
    const QString url =
        u"file://"_s + home.path() + u"/%E7%B5%90%E6%9E%9C%20%231/Tidy_Result.txt"_s;
    setSetting(u"FirefoxEsrProfile"_s, home.file(u"esr profile"_s));
    for (int index : {1, 3, 4, 5}) EXPECT_TRUE(bridge.openFile(index, file));
    const QString plain = u"firefox --profile "_s + home.file("set") + u" --new-tab "_s + url;
    EXPECT_EQ(runner.detached,
              QStringList({plain,
                           u"firefox-esr --profile "_s + home.file(u"esr profile"_s) +
                               u" --new-tab "_s + url,
                           plain, plain}));
}
