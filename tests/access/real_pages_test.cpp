// Pages nobody here wrote: HTML documentation of installed Debian packages,
// linearised by the console program and compared with the order in which
// w3m lays out the same cells.
#include "support/test.h"



using namespace Qt::Literals::StringLiterals;

namespace {

QString run(const QString &program, const QStringList &arguments, int *status = nullptr)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    if (status) *status = process.exitCode();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The text without spaces, without the lines w3m draws around cells, and
// without the ">" that the document parser takes for the end of a tag.
QString withoutSpaces(QString text)
{
    text.remove(QRegularExpression(u"[\\s>\\x{2500}-\\x{257F}]+"_s));
    return text;
}

}  // namespace

// Every cell of every table, read in the console program's order, is found
// in w3m's rendering after the cell before it. Cells are compared by the
// start of their text without spaces (w3m breaks narrow cells and pads
// lines); markers and images, which w3m shows otherwise, and cells without a
// letter or digit (the rest of a comment) are left out.
TEST(RealPages, CellOrderMatchesW3m)
{
    const QString w3m = QStandardPaths::findExecutable(u"w3m"_s);
    if (w3m.isEmpty()) GTEST_SKIP() << "w3m is not installed";

    const struct {
        QString page;
        int tables;
    } pages[] = {
        {u"/usr/share/doc/w3m/ja/MANUAL.html"_s, 22},  // Japanese, UTF-8, no declaration
        {u"/usr/share/doc/w3m/MANUAL.html"_s, 4},      // UTF-8 declared; more in comments
        {u"/usr/share/doc/libffi8/html/Index.html"_s, 3},
    };
    TempHome home;
    int compared = 0;
    for (const auto &p : pages) {
        if (!QFile::exists(p.page)) continue;
        int status = -1;
        const QString tables = run(QStringLiteral(VELMARIN_CLI_PATH), {u"--tables"_s, p.page}, &status);
        EXPECT_EQ(status, 0) << p.page.toStdString();
        QStringList lines =
            run(w3m, {u"-dump"_s, u"-cols"_s, u"400"_s, u"-O"_s, u"UTF-8"_s, p.page}).split(u'\n');
        for (QString &line : lines) line = withoutSpaces(line);
        const QString dump = lines.join(u'\n');
        ASSERT_FALSE(dump.isEmpty());

        int tableCount = 0;
        qsizetype from = 0;
        for (const QString &line : tables.split(u'\n', Qt::SkipEmptyParts)) {
            if (line.startsWith(u"== "_s)) {
                ++tableCount;
                from = 0;  // a nested table's cells stand inside its parent's
                continue;
            }
            if (line.contains(u'【') || !line.contains(QRegularExpression(u"\\w"_s))) continue;
            const QString cell = withoutSpaces(line).left(6);
            qsizetype at = dump.indexOf(cell, from);
            if (at < 0 && from > 0) {
                // w3m centres a short cell beside a tall one: its text may
                // stand on the line before its left neighbour's.
                qsizetype back = from - cell.size();
                for (int newlines = 0; back > 0 && newlines < 2; --back)
                    newlines += dump.at(back - 1) == u'\n';
                at = dump.indexOf(cell, back);
            }
            EXPECT_GE(at, 0) << p.page.toStdString() << ": " << line.toStdString();
            if (at >= 0) from = at + cell.size();
            ++compared;
        }
        EXPECT_EQ(tableCount, p.tables) << p.page.toStdString();
    }
    if (compared == 0) GTEST_SKIP() << "none of the documentation pages is installed";
    EXPECT_GT(compared, 300);
}
