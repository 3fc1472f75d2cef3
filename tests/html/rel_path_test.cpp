#include "html/rel_path.h"

#include "support/test.h"

TEST(RelPath, ResolvesAgainstAFolder)
{
    const QString invalid = kInvalidRelPath;
    // Base, reference, result; a base of "dir" is tried with and without its "/".
    const std::tuple<QString, QString, QString> cases[] = {
        {"dir", "page.html", "http://host/dir/page.html"},
        {"dir", "sub/page.html", "http://host/dir/sub/page.html"},
        {"dir", "?q=1", "http://host/dir/?q=1"},
        {"dir", "", "http://host/dir/"},
        {"dir", "./a.html#b", "http://host/dir/a.html#b"},
        {"dir", "../a.html", "http://host/a.html"},
        {"dir", "../../a.html", invalid},
        {"dir", ".", "http://host/dir"},
        {"dir", "..", "http://host"},
        {"dir", "./sub/", "http://host/dir/sub"},
        {"dir", "./../a", "http://host/dir/../a"},
        {"dir", "../x/../y", "http://host/x/../y"},
        {"dir", ".htaccess", "http://host/dir/.htaccess"},
        {"dir", "/root.html", "http://host/root.html"},
        {"dir", "//other/x", "http://host//other/x"},
        {"http://host/", "./a.html", "http://host/a.html"},
        {"http://host/", "/a.html", "http://host/a.html"},
        {"http://host/", "../a.html", invalid},
        {"http://host/", "..", invalid},
        {"http:", "/a.html", invalid},
        {"", "./a.html", invalid},
    };
    for (const auto &[base, reference, result] : cases) {
        const QStringList bases =
            base == "dir" ? QStringList{"http://host/dir/", "http://host/dir"} : QStringList{base};
        for (const QString &folder : bases)
            EXPECT_EQ(resolveRelPath(folder, reference), result)
                << (folder + " + " + reference).toStdString();
    }
}
