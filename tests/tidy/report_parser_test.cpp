#include "tidy/report_parser.h"

#include "support/test.h"
#include "tidy/report_list_model.h"

using K = ReportKind;

void PrintTo(const ReportRow &r, std::ostream *os)
{
    *os << "{" << r.caption.toStdString() << " | " << r.column.toStdString() << " | "
        << r.description.toStdString() << " | " << static_cast<int>(r.kind) << "}";
}

TEST(ReportParser, SplitsLinesIntoCellsAndKinds)
{
    const char *kinds[] = {"None", "Warning", "Error", "Information", "Accessibility"};
    QStringList lines =
        QString::fromUtf8(readWholeFile(testDataPath("tidy_report_lines.txt"))).split(u'\n');
    lines.removeIf([](const QString &line) { return line.startsWith(u'#'); });
    ASSERT_EQ(lines.size(), 2 * 32 + 1);
    for (qsizetype i = 0; i + 1 < lines.size(); i += 2) {
        const ReportRow r = parseReportLine(lines[i]);
        EXPECT_EQ(
            "=> " + r.caption + '|' + r.column + '|' + kinds[int(r.kind) + 1] + '|' + r.description,
            lines[i + 1]);
    }
}

TEST(ReportParser, SkipsBlankLinesAndHandlesEveryLineBreak)
{
    // Blank is bytes 0x20 and below only; a full-width space, DEL or a C1
    // control is a line of its own and keeps its row.
    EXPECT_TRUE(
        parseTidyReport(" \r\n\t\r\n\x01\x1f \r\r\n\n" + QString(QChar(0)) + "\n").isEmpty());
    for (const QString &kept :
         {QStringLiteral("\u3000"), QStringLiteral(" \u3000\t"), QStringLiteral("\x7f"),
          QStringLiteral("\u0085"), QStringLiteral("\u00a0")})
        EXPECT_EQ(parseTidyReport(" \n" + kept + "\r\n"),
                  (QVector<ReportRow>{ReportRow{"", "", kept, K::None}}));
    EXPECT_EQ(parseTidyReport("line 1 column 1 - Warning: a\r\n\r\nAccessibility Checks:\r"
                              "line 2 column 3 - Access: [1.1.1.1]: b\n  \nTidy found\n"),
              (QVector<ReportRow>{ReportRow{"1", "1", "Warning: a", K::Warning},
                                  ReportRow{"", "", "Accessibility Checks:", K::Accessibility},
                                  ReportRow{"2", "3", "Access: [1.1.1.1]: b", K::Accessibility},
                                  ReportRow{"", "", "Tidy found", K::None}}));

    const QVector<ReportRow> longRows =
        parseTidyReport("line 1 column 2 - Warning: " + QString(200000, u'あ'));
    ASSERT_EQ(longRows.size(), 1);
    EXPECT_EQ(longRows[0].description.size(), 200000 + 9);
}

TEST(ReportParser, LoadsCp932AndUtf8FilesAndTellsAMissingOne)
{
    TempHome home;
    const QString report = "情報: チェックしたHTML: /x y.html\r\nline 12 column 5 - 警告: 表\r\n";
    QByteArray sjis;
    ASSERT_TRUE(TextCodec::toCp932(report, &sjis));
    const QVector<ReportRow> expected{
        ReportRow{"", "", "情報: チェックしたHTML: /x y.html", K::Information},
        ReportRow{"12", "5", "警告: 表", K::Warning}};
    bool exists = false;
    for (const QByteArray &bytes : {sjis, report.toUtf8(), QByteArray()}) {
        home.write("report.txt", bytes);
        EXPECT_EQ(loadTidyReportFile(home.file("report.txt"), &exists),
                  bytes.isEmpty() ? QVector<ReportRow>() : expected);
        EXPECT_TRUE(exists);
    }
    EXPECT_TRUE(loadTidyReportFile(home.file("none.txt"), &exists).isEmpty());
    EXPECT_FALSE(exists);
}

TEST(ReportListModel, RowsKindsAndTheSaveAndCopyText)
{
    ReportListModel model;
    model.setRows({ReportRow{"12", "5", "D", K::Warning}, ReportRow{"7", "", "E", K::None},
                   ReportRow{"", "", "情報: チェックしたHTML: /x y.html", K::Information}});
    ASSERT_EQ(model.rowCount(), 3);
    EXPECT_EQ(model.data(model.index(0, 1)).toString(), "5");
    EXPECT_EQ(model.data(model.index(0, 0), ReportListModel::KindRole).toInt(), 0);
    EXPECT_EQ(model.data(model.index(1, 2), ReportListModel::KindRole).toInt(), -1);
    EXPECT_FALSE(model.data(model.index(5, 0)).isValid());
    EXPECT_EQ(model.resultText(),
              "行 12 位置5 - D\r\n行 7E\r\n情報: チェックしたHTML: /x y.html\r\n");
    EXPECT_EQ(reportResultText(model.rows(), "\n"),
              "行 12 位置5 - D\n行 7E\n情報: チェックしたHTML: /x y.html\n");
    model.clear();
    EXPECT_EQ(model.resultText(), QString());
}
