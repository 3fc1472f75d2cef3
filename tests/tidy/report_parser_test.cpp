#include "tidy/report_parser.h"

#include "support/test.h"

#include "tidy/report_list_model.h"

using K = ReportKind;

void PrintTo(const ReportRow &r, std::ostream *os)
{
    *os << "{" << r.caption.toStdString() << " | " << r.column.toStdString() << " | "
        << r.description.toStdString() << " | " << static_cast<int>(r.kind) << "}";
}

namespace {

ReportRow row(const char *caption, const char *column, const char *description, K kind)
{
    return ReportRow{caption, column, description, kind};
}

}  // namespace

TEST(ReportParser, SplitsLinesIntoCellsAndKinds)
{
    const struct {
        const char *line, *caption, *column;
        const char *description;  // nullptr: the whole line
        K kind;
    } cases[] = {
        {"line 12 column 5 - 警告: <img> に alt がない", "12", "5", "警告: <img> に alt がない", K::Warning},
        {"line 3 column 1 - エラー: <foo> は不明", "3", "1", "エラー: <foo> は不明", K::Error},
        {"line 3 column 1 - 注意 そのほか", "3", "1", "注意 そのほか", K::None},
        {"line 007 column 010 - x", "007", "010", "x", K::None},
        // Warning is looked for first, anywhere in the message.
        {"line 1 column 1 - エラー: a 警告: b", "1", "1", "エラー: a 警告: b", K::Warning},
        // Tidy 5.6, as printed.
        {"line 1 column 42 - Error: <foo> is not recognized!", "1", "42", "Error: <foo> is not recognized!", K::Error},
        {"line 1 column 7 - Access: [13.2.1.1]: Metadata missing.", "1", "7",
         "Access: [13.2.1.1]: Metadata missing.", K::Accessibility},
        {"line 2 column 9 - Info: <p> proprietary", "2", "9", "Info: <p> proprietary", K::Information},
        // An English word counts only as the message's prefix; quoted Japanese does not win.
        {"line 1 column 1 - Error: <p title=\"警告: \">", "1", "1", "Error: <p title=\"警告: \">", K::Error},
        {"line 1 column 1 - lacks Error: x", "1", "1", "lacks Error: x", K::None},
        // The last character, double-byte or not, belongs to the message.
        {"line 4 column 2 - Warning: 😀", "4", "2", "Warning: 😀", K::Warning},
        {"line 2 column 3 - アクセシビリティ: [1.1.1.1]: x", "2", "3", "アクセシビリティ: [1.1.1.1]: x", K::Accessibility},
        // Unlocated lines.
        {"Line 3 column 1 - 警告: x", "", "", nullptr, K::None},
        {"情報: チェックしたHTML: /x y.html", "", "", nullptr, K::Information},
        {"Accessibility Checks: Version 0.1", "", "", nullptr, K::Accessibility},
        {"Accessibility Checks: 情報: x", "", "", nullptr, K::Information},
        {"  Accessibility Checks:", "", "", nullptr, K::None},
        {"Error: <foo> is not recognized!", "", "", nullptr, K::Error},
        {"Config: unknown option: foo", "", "", nullptr, K::Information},
        {"Tidy found 5 warnings and 0 errors!", "", "", nullptr, K::None},
        {"警告: 位置のない警告", "", "", nullptr, K::Warning},
        {"エラー: 位置のないエラー 警告: x", "", "", nullptr, K::Error},
        {"設定: unknown option: x", "", "", nullptr, K::Information},
        // Malformed located lines give empty or shortened cells.
        {"line ", "", "", "ne ", K::None},
        {"line 12", "", "", "ne 12", K::None},
        {"line 12 column 5", "12", "", "ne 12 column 5", K::None},
        {"line 12 column 5 ", "12", "5", "", K::None},
        {"line 1 col 5 - x", "1", "", "", K::None},
        {"line 1 column 5😀 - x", "1", "5😀", "x", K::None},
        // A position landing inside a surrogate pair never splits it.
        {"line 1 abcdef😀xy - x", "1", "xy", "x", K::None},
        {"line 1 column 5 a😀bc", "1", "5", "bc", K::None},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(parseReportLine(c.line),
                  row(c.caption, c.column, c.description ? c.description : c.line, c.kind));
    }
}

TEST(ReportParser, SkipsBlankLinesAndHandlesEveryLineBreak)
{
    EXPECT_TRUE(parseTidyReport(QString()).isEmpty());
    // Blank is bytes 0x20 and below only; a full-width space, DEL or a C1
    // control is a line of its own and keeps its row.
    EXPECT_TRUE(parseTidyReport(" \r\n\t\r\n\x01\x1f \r\r\n\n" + QString(QChar(0)) + "\n")
                    .isEmpty());
    for (const QString &kept : {QStringLiteral("\u3000"), QStringLiteral(" \u3000\t"),
                                QStringLiteral("\x7f"), QStringLiteral("\u0085"),
                                QStringLiteral("\u00a0")})
        EXPECT_EQ(parseTidyReport(" \n" + kept + "\r\n"),
                  (QVector<ReportRow>{ReportRow{"", "", kept, K::None}}));
    EXPECT_EQ(parseTidyReport("line 1 column 1 - Warning: a\r\n\r\nAccessibility Checks:\r"
                              "line 2 column 3 - Access: [1.1.1.1]: b\n  \nTidy found\n"),
              (QVector<ReportRow>{row("1", "1", "Warning: a", K::Warning),
                                  row("", "", "Accessibility Checks:", K::Accessibility),
                                  row("2", "3", "Access: [1.1.1.1]: b", K::Accessibility),
                                  row("", "", "Tidy found", K::None)}));

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
    const QVector<ReportRow> expected{row("", "", "情報: チェックしたHTML: /x y.html", K::Information),
                                      row("12", "5", "警告: 表", K::Warning)};
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

TEST(ReportParser, EveryLocatedLineOfRealTidyGetsAKind)
{
    TempHome home;
    home.write("page.html",
               "<html><head></head><body><img src=a.png><foo>x</foo><font>f</font>"
               "<table><tr><td>x</td></tr></table><p></body></html>");
    QProcess process;
    process.start(QStandardPaths::findExecutable("tidy"), {"-e", "-access", "3", home.file("page.html")});
    ASSERT_TRUE(process.waitForFinished(30000));
    QSet<K> kinds;
    int located = 0;
    bool accessibilityHeading = false;
    for (const ReportRow &r : parseTidyReport(TextCodec::decode(process.readAllStandardError()))) {
        if (r.caption.isEmpty()) {
            accessibilityHeading |= r.kind == K::Accessibility;
            continue;
        }
        ++located;
        EXPECT_NE(r.kind, K::None) << r.description.toStdString();
        EXPECT_FALSE(r.column.isEmpty() || r.description.endsWith(u' ')) << r.description.toStdString();
        kinds.insert(r.kind);
    }
    EXPECT_GT(located, 5);
    EXPECT_EQ(kinds, (QSet<K>{K::Warning, K::Error, K::Information, K::Accessibility}));
    EXPECT_TRUE(accessibilityHeading);
}

TEST(ReportListModel, RowsKindsAndTheSaveAndCopyText)
{
    ReportListModel model;
    model.setRows({row("12", "5", "D", K::Warning), row("7", "", "E", K::None),
                   row("", "", "情報: チェックしたHTML: /x y.html", K::Information)});
    ASSERT_EQ(model.rowCount(), 3);
    EXPECT_EQ(model.data(model.index(0, 1)).toString(), "5");
    EXPECT_EQ(model.data(model.index(0, 0), ReportListModel::KindRole).toInt(), 0);
    EXPECT_EQ(model.data(model.index(1, 2), ReportListModel::KindRole).toInt(), -1);
    EXPECT_FALSE(model.data(model.index(5, 0)).isValid());
    EXPECT_EQ(model.resultText(), "行 12 位置5 - D\r\n行 7E\r\n情報: チェックしたHTML: /x y.html\r\n");
    EXPECT_EQ(reportResultText(model.rows(), "\n"),
              "行 12 位置5 - D\n行 7E\n情報: チェックしたHTML: /x y.html\n");
    model.clear();
    EXPECT_EQ(model.resultText(), QString());
}
