// velmarin-cli --tables: the rows of each table as plain text, and the exit
// status when there is nothing to show.
#include "support/test.h"



using namespace Qt::Literals::StringLiterals;

TEST(CliTables, PrintsRowsAndSaysWhenThereAreNone)
{
    TempHome home;
    home.write(u"two.html"_s,
               "<table summary=\"S\"><tr><th>A</th><td>B &lt;1&gt;</td></tr>"
               "<tr><td><img src=\"i.png\" alt=\"I\"></td><td></td></tr></table>"
               "<p>between</p><table><td>C<td>D</table>"
               "<table><td>see <a href=x>R</a> now<br>y<p>z<script>var s=\"no\";</script></td></table>");
    home.write(u"none.html"_s, "<p>no tables</p>");

    const struct {
        QStringList arguments;
        int status;
        QString out;
        QString err;
    } cases[] = {
        {{u"--tables"_s, home.file(u"two.html"_s)}, 0,
         u"== 1/3 ==\n【Summary】S\n【TH】A\nB <1>\n【img】 -  url :i.png; alt :I\n== 2/3 ==\nC\nD\n"
         "== 3/3 ==\nsee R now y z\n"_s, u""_s},
        {{u"--tables"_s, home.file(u"none.html"_s)}, 1, u""_s, u"HTML中にテーブルがありませんでした\n"_s},
        {{u"--tables"_s, home.file(u"missing.html"_s)}, 1, u""_s, u"ファイル「"_s},
        {{u"--tables"_s}, 2, u""_s, u"使い方: velmarin-cli --tables"_s},
    };
    for (const auto &c : cases) {
        QProcess cli;
        cli.start(QStringLiteral(VELMARIN_CLI_PATH), c.arguments);
        ASSERT_TRUE(cli.waitForFinished(30000));
        EXPECT_EQ(cli.exitCode(), c.status) << c.arguments.join(u' ').toStdString();
        EXPECT_EQ(QString::fromUtf8(cli.readAllStandardOutput()), c.out);
        const QString err = QString::fromUtf8(cli.readAllStandardError());
        EXPECT_TRUE(c.err.isEmpty() ? err.isEmpty() : err.startsWith(c.err)) << c.arguments.join(u' ').toStdString() << ": " << err.toStdString();
    }
}
