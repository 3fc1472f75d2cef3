// The table view's console form against an independent reading of the same
// pages (table_reference.py: Python's html.parser), on every page of the
// documentation installed under /usr/share/doc that holds a table: the same
// tables, in the same order, with the same rows.
#include <QMap>

#include "support/process_run.h"
#include "support/test.h"

namespace {

QStringList pagesWithTables()
{
    QStringList pages;
    QDirIterator it(QStringLiteral("/usr/share/doc"),
                    {QStringLiteral("*.htm"), QStringLiteral("*.html")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString page = it.next();
        QFile file(page);
        if (!QFileInfo(page).isSymLink() && file.open(QIODevice::ReadOnly) &&
            file.readAll().toLower().contains("<table"))
            pages << page;
    }
    pages.sort();
    return pages;
}

}  // namespace

TEST(TableReference, InstalledDocumentationReadsAsTheReferenceReadsIt)
{
    const QStringList pages = pagesWithTables();
    QMap<QString, QString> expected;
    QString page;
    const RunResult reference =
        run(QStringLiteral("python3"),
            QStringList{QStringLiteral(VELMARIN_TEST_DATA "/../access/table_reference.py")} + pages,
            {}, {}, 300000);
    ASSERT_EQ(reference.exitCode, 0) << reference.err.toStdString();
    for (const QString &line : reference.out.split(u'\n', Qt::SkipEmptyParts)) {
        if (line.startsWith(QLatin1String("page\t")))
            page = line.mid(5);
        else
            expected[page] += line + u'\n';
    }

    for (const QString &p : pages)
        EXPECT_EQ(runCliProgram({QStringLiteral("--tables"), p}).out, expected.value(p))
            << p.toStdString();
    // The set-up installs documentation in HTML, so there is always something to compare.
    EXPECT_GE(pages.size(), 100);
}
