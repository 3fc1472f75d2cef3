// Resolving a link of a fetched page against the page's folder.
#include "html/rel_path.h"

#include <gtest/gtest.h>

#include "support/qt_print.h"

TEST(RelPath, SegmentsSplitAndJoin)
{
    const struct {
        QString text;
        QStringList segments;
    } cases[] = {
        {"", {}},
        {"/", {""}},
        {"a/b/", {"a", "b"}},
        {"a//b", {"a", "", "b"}},
        {"http://host/dir/", {"http:", "", "host", "dir"}},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(splitSegments(c.text), c.segments) << c.text.toStdString();
        if (!c.text.endsWith('/')) {
            EXPECT_EQ(joinSegments(c.segments), c.text);
        }
    }
    EXPECT_EQ(includeTrailingSlash("a"), "a/");
    EXPECT_EQ(includeTrailingSlash("a/"), "a/");
}

TEST(RelPath, ResolvesAgainstAFolder)
{
    const QString invalid = kInvalidRelPath;
    const struct {
        QString reference;
        QString result;
    } cases[] = {
        {"page.html", "http://host/dir/page.html"},
        {"sub/page.html", "http://host/dir/sub/page.html"},
        {"?q=1", "http://host/dir/?q=1"},
        {"#top", "http://host/dir/#top"},
        {"", "http://host/dir/"},
        {"sub/", "http://host/dir/sub/"},
        {"./a.html", "http://host/dir/a.html"},
        {"./a.html#b", "http://host/dir/a.html#b"},
        {"../a.html", "http://host/a.html"},
        {"../../a.html", invalid},
        {".", "http://host/dir"},
        {"..", "http://host"},
        {"./sub/", "http://host/dir/sub"},
        {"./../a", "http://host/dir/../a"},
        {"../x/../y", "http://host/x/../y"},
        {".htaccess", "http://host/dir/.htaccess"},
        {"/root.html", "http://host/root.html"},
        {"//other/x", "http://host//other/x"},
    };
    for (const QString &base :
         {QStringLiteral("http://host/dir/"), QStringLiteral("http://host/dir")}) {
        for (const auto &c : cases)
            EXPECT_EQ(resolveRelPath(base, c.reference), c.result)
                << (base + " + " + c.reference).toStdString();
    }
}

TEST(RelPath, BaseAtTheHostOrWithoutOne)
{
    const struct {
        QString base;
        QString reference;
        QString result;
    } cases[] = {
        {"http://host/", "a.html", "http://host/a.html"},
        {"http://host/", "./a.html", "http://host/a.html"},
        {"http://host/", "/a.html", "http://host/a.html"},
        {"http://host/", "../a.html", kInvalidRelPath},
        {"http://host/", "..", kInvalidRelPath},
        {"http:", "/a.html", kInvalidRelPath},
        {"", "/a.html", kInvalidRelPath},
        {"", "./a.html", kInvalidRelPath},
    };
    for (const auto &c : cases)
        EXPECT_EQ(resolveRelPath(c.base, c.reference), c.result)
            << (c.base + " + " + c.reference).toStdString();
}
