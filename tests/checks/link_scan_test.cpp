// Which attribute strings become links, in which encoding, and which elements
// count as anchors; and the link check's reading and verdicts against
// link_reference.py's on every HTML page under /usr/share/doc (web links stay here).
#include "checks/link_scan.h"

#include "checks/link_verifier.h"
#include "fetch/http_client.h"
#include "html/page_encoding.h"
#include "html/tag_scanner.h"
#include "support/process_run.h"
#include "support/test.h"

namespace {

QStringList links(const QByteArray &file)
{
    THtmlParser2 scanner;
    scanner.setText(scannerText(file));
    return extractLinkTargets(scanner);
}

QStringList installedPages()
{
    QStringList pages;
    QDirIterator it("/usr/share/doc", {"*.htm", "*.html"}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString page = it.next();
        if (!QFileInfo(page).isSymLink()) pages << page;
    }
    pages.sort();
    return pages;
}

QMap<QString, QString> referenceRows(const QStringList &pages)
{
    const RunResult python =
        run("python3",
            QStringList{QStringLiteral(VELMARIN_TEST_DATA "/../checks/link_reference.py")} + pages,
            {}, {}, 300000);
    EXPECT_EQ(python.exitCode, 0) << python.err.toStdString();
    QMap<QString, QString> rows;
    QString page;
    for (const QString &line : python.out.split(u'\n', Qt::SkipEmptyParts)) {
        if (line.startsWith(QLatin1String("page\t")))
            page = line.mid(5);
        else
            rows[page] += line + u'\n';
    }
    return rows;
}

}  // namespace

TEST(LinkScan, CollectsHrefAndSrcAsWritten)
{
    // Comments, case, line breaks, quotes, repeated attributes, mailto: left out.
    const QByteArray page = readWholeFile(testDataPath("link_scan_links.html"));
    EXPECT_EQ(links(page),
              QStringList({"s.css", "old.html", "q.png", "Up.html", "multiline.html", "mailto:x@y",
                           "spaced.html", "", "plain.html#frag", "pic.gif", "two.gif", "x.html",
                           "y.html", "nl.html", "tab.png", "crlf.html", "it\"s.html\"", "cut'"}));
}

// Links and anchors alike: a page names the image by its UTF-8 file name
// (LinkCheckTest.LocalFilesFoldersAndAnchors finds it) and has its Japanese anchor.
TEST(LinkScan, PagesAreReadInTheirEncoding)
{
    const QString link = QStringLiteral("画像/表.png");
    const QString body =
        QStringLiteral("<p>日本語の文書です。<a href=\"%1\"><h2 id=\"見出し\">").arg(link);
    const struct {
        const char *encoding;
        QString head;
    } cases[] = {
        {"CP932", ""},
        {"EUC-JP", ""},
        {"ISO-2022-JP", ""},
        {"UTF-8", ""},
        {"EUC-JP", "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=EUC-JP\">"},
        {"CP932", "<meta charset='Shift_JIS'>"},
        {"ISO-8859-1", "<meta charset=\"iso-8859-1\">"},
    };
    for (const auto &c : cases) {
        const QString text = c.head + (QByteArray(c.encoding) == "ISO-8859-1"
                                           ? QStringLiteral("<a href=\"caf\u00e9.html\">")
                                           : body);
        const QByteArray bytes = inEncoding(text, c.encoding);
        ASSERT_FALSE(bytes.isEmpty()) << c.encoding;
        EXPECT_EQ(pageEncoding(bytes), c.encoding) << c.encoding << " " << c.head.toStdString();
        const QString expected =
            QByteArray(c.encoding) == "ISO-8859-1" ? QStringLiteral("caf\u00e9.html") : link;
        EXPECT_EQ(links(bytes), QStringList{expected}) << c.encoding << " " << c.head.toStdString();
        THtmlParser2 scanner;
        scanner.setText(scannerText(bytes));
        EXPECT_EQ(documentHasAnchor(scanner, "#見出し"), expected == link) << c.encoding;
    }
}

TEST(LinkScan, AnchorsAreIdsOfAnyElementAndNamesOfA)
{
    const QByteArray page =
        "<a name=\"ByName\"></a><div id=\"TOP\"></div><a id=\"aid\"></a>\n"
        "<p name=\"pname\"><span id='q'><a href=\"x\" name = \"spaced\"><h2 ID=見出し>\n"
        "<h3\r\nid=\"nl\"><a\tname='tabbed'><!-- <i id=\"commented\"> -->\n";
    const struct {
        QString name;
        bool found;
    } cases[] = {
        {"byname", true},   {"#BYNAME", true}, {"top", true},    {"aid", true},
        {"pname", false},   {"q", true},       {"'q'", false},   {"spaced", true},
        {"見出し", true},   {"nl", true},      {"tabbed", true}, {"commented", true},
        {"missing", false}, {"", false},
    };
    for (const auto &c : cases) {
        THtmlParser2 scanner;
        scanner.setText(page);
        EXPECT_EQ(documentHasAnchor(scanner, c.name), c.found) << c.name.toStdString();
    }
    THtmlParser2 scanner;
    scanner.setText(page);
    EXPECT_FALSE(documentHasAnchor(scanner, "top", [] { return true; }));
}

TEST(LinkReference, InstalledDocumentationReadsAsTheReferenceReadsIt)
{
    const QStringList pages = installedPages();
    const QMap<QString, QString> reference = referenceRows(pages);
    TempHome home;
    HttpClient http;
    int comparedPages = 0;
    qsizetype localLinks = 0;
    for (const QString &page : pages) {
        THtmlParser2 scanner;
        EXPECT_TRUE(scanner.loadFromFile(page));
        LinkVerifier verifier({&http, home.file("link_get.html"), QFileInfo(page).absolutePath(),
                               nullptr, nullptr, 300});
        QString ours;
        for (const QString &link : extractLinkTargets(scanner)) {
            ours +=
                link + u'\t' + (isWebLink(link) ? "web" : verifier.checkOneLink(link, page, {}));
            ours += u'\n';
        }
        const QString expected = reference.value(page);
        EXPECT_EQ(ours.toStdString(), expected.toStdString()) << page.toStdString();
        comparedPages += !expected.isEmpty();
        localLinks += expected.count(u'\n') - expected.count(QLatin1String("\tweb\n"));
    }
    EXPECT_GE(comparedPages, 50);
    EXPECT_GE(localLinks, 2000);
}
