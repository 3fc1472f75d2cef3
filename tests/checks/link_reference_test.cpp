// The link check's reading and verdicts against link_reference.py's on every HTML
// page under /usr/share/doc: the same links in the same order, the same verdict
// for every local link. Web links are not sent off this machine.
#include "checks/link_scan.h"
#include "checks/link_verifier.h"
#include "fetch/http_client.h"
#include "html/tag_scanner.h"
#include "support/process_run.h"
#include "support/test.h"

namespace {

QStringList installedPages()
{
    QStringList pages;
    QDirIterator it(QStringLiteral("/usr/share/doc"), {"*.htm", "*.html"}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString page = it.next();
        if (!QFileInfo(page).isSymLink()) pages << page;
    }
    pages.sort();
    return pages;
}

// The reference's lines "LINK<TAB>VERDICT" of every page, in one run of Python.
QMap<QString, QString> referenceRows(const QStringList &pages)
{
    const RunResult python =
        run(QStringLiteral("python3"),
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
        LinkVerifier verifier({&http, home.file(QStringLiteral("link_get.html")),
                               QFileInfo(page).absolutePath(), nullptr, nullptr, 300});
        QString ours;
        for (const QString &link : extractLinkTargets(scanner)) {
            ours +=
                link + u'\t' +
                (isWebLink(link) ? QStringLiteral("web") : verifier.checkOneLink(link, page, {}));
            ours += u'\n';
        }
        const QString expected = reference.value(page);
        EXPECT_EQ(ours.toStdString(), expected.toStdString()) << page.toStdString();
        comparedPages += !expected.isEmpty();
        localLinks += expected.count(u'\n') - expected.count(QLatin1String("\tweb\n"));
    }
    // The set-up installs documentation in HTML, so there is always something to compare.
    EXPECT_GE(comparedPages, 50);
    EXPECT_GE(localLinks, 2000);
}
