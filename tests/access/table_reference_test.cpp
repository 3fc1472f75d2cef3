// The console's tables of every page under /usr/share/doc that holds one, against
// an independent reading (table_reference.py: Python's html.parser).
#include "support/process_run.h"
#include "support/test.h"

TEST(TableReference, InstalledDocumentationReadsAsTheReferenceReadsIt)
{
    const RunResult reference =
        run(QStringLiteral("python3"),
            {QStringLiteral(VELMARIN_TEST_DATA "/../access/table_reference.py"),
             QStringLiteral("/usr/share/doc")},
            {}, {}, 300000);
    ASSERT_EQ(reference.exitCode, 0) << reference.err.toStdString();
    // Folded rows hold no tab, so "page<TAB>" only ever starts a page.
    const QStringList pages = reference.out.split(QStringLiteral("page\t"), Qt::SkipEmptyParts);
    for (const QString &page : pages) {
        const QString path = page.section(u'\n', 0, 0);
        EXPECT_EQ(runCliProgram({QStringLiteral("--tables"), path}).out, page.section(u'\n', 1))
            << path.toStdString();
    }
    // The set-up installs documentation in HTML, so there is always something to compare.
    EXPECT_GE(pages.size(), 100);
}
