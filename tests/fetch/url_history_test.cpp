// URLList.txt: newest first, no duplicates, nothing of the old file lost.
#include "fetch/url_history.h"

#include "support/test.h"

namespace {

TEST(UrlHistory, AcceptingAnAddressRewritesTheFile)
{
    QByteArray cp932Japanese;
    TextCodec::toCp932(QStringLiteral("http://例え.jp/"), &cp932Japanese);
    const struct {
        const char *what;
        QByteArray before;  // null: no file
        const char *url;
        QByteArray after;
        bool notice = false;  // a line was dropped
    } cases[] = {
        {"first use", QByteArray(), "http://a/", "http://a/\r\n"},
        {"third moves to the top", "http://1/\r\nhttp://2/\r\nhttp://3/\r\n", "http://3/",
         "http://3/\r\nhttp://1/\r\nhttp://2/\r\n"},
        {"case counts", "http://a/\r\n", "HTTP://A/", "HTTP://A/\r\nhttp://a/\r\n"},
        {"any line break, blank lines dropped", "http://1/\n\nhttp://2/\rhttp://3/", "http://4/",
         "http://4/\r\nhttp://1/\r\nhttp://2/\r\nhttp://3/\r\n"},
        {"UTF-8 stays UTF-8", "\xEF\xBB\xBFhttp://\xE4\xBE\x8B\xE3\x81\x88.jp/\n", "http://b/",
         "http://b/\r\nhttp://\xE4\xBE\x8B\xE3\x81\x88.jp/\r\n"},
        {"CP932 stays CP932", cp932Japanese + "\r\n", "http://b/",
         "http://b/\r\n" + cp932Japanese + "\r\n"},
        {"what CP932 cannot hold goes UTF-8", "http://a/\r\n", "http://\u00e9/",
         "http://\xC3\xA9/\r\nhttp://a/\r\n"},
        {"byte-order marks are no addresses",
         "http://a/\r\n\xEF\xBB\xBF\xEF\xBB\xBF\r\n\xEF\xBB\xBFhttp://\xC3\xA9/", "http://b/",
         "http://b/\r\nhttp://a/\r\nhttp://\xC3\xA9/\r\n"},
        {"undecodable bytes dropped", "http://\x80\xA0\xFD/\r\nhttp://a/\r\n", "http://a/",
         "http://a/\r\n", true},
        {"a CP932 file turning UTF-8 drops what it cannot decode",
         cp932Japanese + "\r\nhttp://\x80\xA0\xFD/\r\n", "http://\u00e9/",
         "http://\xC3\xA9/\r\nhttp://\xE4\xBE\x8B\xE3\x81\x88.jp/\r\n", true},
        {"CP932 that reads as UTF-8 is written as UTF-8",
         "http://\xC3\xA9/\r\nhttp://\x80\xA0\xFD/\r\n", "http://a/",
         "http://a/\r\nhttp://\xEF\xBE\x83\xEF\xBD\xA9/\r\n", true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        TempHome home;
        if (!c.before.isNull()) home.write("URLList.txt", c.before);
        UrlHistory history(home.file("URLList.txt"));
        ASSERT_TRUE(history.load());
        history.accept(QString::fromUtf8(c.url));
        EXPECT_EQ(history.entries().value(0), QString::fromUtf8(c.url));
        QString notice;
        ASSERT_TRUE(history.save(nullptr, &notice));
        EXPECT_EQ(home.read("URLList.txt"), c.after);
        EXPECT_EQ(notice.contains(QStringLiteral("URLの履歴から除きました")), c.notice)
            << notice.toStdString();
    }
}

TEST(UrlHistory, AFileThatCannotBeReadIsLeftAlone)
{
    TempHome home;
    const QString path = home.file(QStringLiteral("URLList.txt"));
    ASSERT_TRUE(QDir().mkpath(path));  // not a file one can read
    UrlHistory history(path);
    EXPECT_FALSE(history.load());
    EXPECT_TRUE(history.entries().isEmpty());
    history.accept("http://a/");
    QString error;
    EXPECT_FALSE(history.save(&error));
    EXPECT_TRUE(error.contains(QStringLiteral("URLの履歴は保存しませんでした")))
        << error.toStdString();
    EXPECT_TRUE(QFileInfo(path).isDir());
}

}  // namespace
