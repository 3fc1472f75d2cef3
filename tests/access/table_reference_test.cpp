// The table view's console form against an independent reading of the same
// pages (table_reference.py: Python's html.parser), on every page of the
// documentation installed under /usr/share/doc that holds a table: the same
// tables, in the same order, with the same rows.
#include <QMap>

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
    QMap<QString, QString> expected;
    QString page;
    for (const QString &line : reference.out.split(u'\n', Qt::SkipEmptyParts)) {
        if (line.startsWith(QLatin1String("page\t")))
            expected.insert(page = line.mid(5), QString());
        else
            expected[page] += line + u'\n';
    }
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        EXPECT_EQ(runCliProgram({QStringLiteral("--tables"), it.key()}).out, it.value())
            << it.key().toStdString();
    // The set-up installs documentation in HTML, so there is always something to compare.
    EXPECT_GE(expected.size(), 100);
}
