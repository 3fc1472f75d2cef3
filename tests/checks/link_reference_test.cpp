// The link check against an independent reading of the same pages
// (link_reference.py: Python's html.parser and urllib.parse), on every HTML
// page of the documentation installed under /usr/share/doc: the same links in
// the same order, and the same verdict for every local link.
//
// Pages whose links are all local go through the link check action itself.
// Pages that also link to the web would send requests off this machine, so
// there the rows come from the action's extraction step and each local row
// from the same verifier the action uses.
#include "checks/link_check.h"
#include "checks/link_scan.h"
#include "checks/link_verifier.h"
#include "core/folder_memory.h"
#include "core/message_list_model.h"
#include "fetch/http_client.h"
#include "html/tag_scanner.h"
#include "support/process_run.h"
#include "support/test.h"

namespace {

const QString kDocs = QStringLiteral("/usr/share/doc");
const QString kWeb = QStringLiteral("web");

using Rows = QVector<MessageListModel::Row>;

QStringList installedPages()
{
    QStringList pages;
    QDirIterator it(kDocs, {QStringLiteral("*.htm"), QStringLiteral("*.html")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString page = it.next();
        if (!QFileInfo(page).isSymLink()) pages << page;
    }
    pages.sort();
    return pages;
}

// The reference's rows of every page, in one run of Python.
QMap<QString, Rows> referenceRows(const QStringList &pages)
{
    const RunResult python =
        run(QStringLiteral("python3"),
            QStringList{QStringLiteral(VELMARIN_TEST_DATA "/../checks/link_reference.py")} + pages,
            {}, {}, 300000);
    EXPECT_EQ(python.exitCode, 0) << python.err.toStdString();
    QMap<QString, Rows> rows;
    QString page;
    for (const QString &line : python.out.split(u'\n', Qt::SkipEmptyParts)) {
        const qsizetype tab = line.lastIndexOf(u'\t');
        const QString first = line.left(tab);
        const QString second = line.mid(tab + 1);
        if (first == QLatin1String("page"))
            page = second;
        else
            rows[page].append({first, second});
    }
    return rows;
}

class LinkReferenceTest : public ::testing::Test {
protected:
    // The rows of the link check action, run to its end.
    Rows actionRows(const QString &page)
    {
        check.checkLinksTarget(page);
        if (check.isRunning()) {
            QEventLoop loop;
            QObject::connect(&check, &LinkCheck::finished, &loop, &QEventLoop::quit);
            QTimer::singleShot(60000, &loop, &QEventLoop::quit);
            loop.exec();
        }
        return list.rows();
    }

    // The rows of the action's extraction, local rows verified as the action does.
    Rows verifiedRows(const QString &page)
    {
        THtmlParser2 scanner;
        EXPECT_TRUE(scanner.loadFromFile(page));
        LinkVerifier verifier({&http, home.file(QStringLiteral("link_get.html")),
                               QFileInfo(page).absolutePath(), nullptr, nullptr, 300});
        Rows rows;
        for (const QString &link : extractLinkTargets(scanner))
            rows.append({link, isWebLink(link) ? kWeb : verifier.checkOneLink(link, page, {})});
        return rows;
    }

    TempHome home;
    RecordingView view;
    MessageListModel list{QStringLiteral("リンク先"), QStringLiteral("状態")};
    HttpClient http;
    FolderMemory folders;
    LinkCheck check{view, list, http, folders};
};

}  // namespace

TEST_F(LinkReferenceTest, InstalledDocumentationReadsAsTheReferenceReadsIt)
{
    const QStringList pages = installedPages();
    const QMap<QString, Rows> reference = referenceRows(pages);
    int comparedPages = 0;
    int localLinks = 0;
    for (const QString &page : pages) {
        const Rows expected = reference.value(page);
        if (expected.isEmpty()) {
            EXPECT_TRUE(verifiedRows(page).isEmpty()) << page.toStdString();
            continue;
        }
        bool allLocal = true;
        for (const auto &row : expected) {
            allLocal = allLocal && row.second != kWeb;
            localLinks += row.second != kWeb;
        }
        const Rows ours = allLocal ? actionRows(page) : verifiedRows(page);
        ASSERT_EQ(ours.size(), expected.size()) << page.toStdString();
        for (qsizetype i = 0; i < ours.size(); ++i) {
            EXPECT_EQ(ours.at(i).first, expected.at(i).first) << page.toStdString() << " #" << i;
            EXPECT_EQ(ours.at(i).second, expected.at(i).second)
                << page.toStdString() << " " << ours.at(i).first.toStdString();
        }
        ++comparedPages;
    }
    // The set-up installs documentation in HTML, so there is always something to compare.
    EXPECT_GE(comparedPages, 50);
    EXPECT_GE(localLinks, 2000);
}
