// The real Tidy's report rows in both languages are recorded in
// tests/data/tidy_pages_en/ja.txt (the console tests).
#include "tidy/tidy_report_ja.h"

#include <set>

#include "support/actions_fixture.h"
#include "support/process_run.h"
#include "support/test.h"
#include "tidy/tidy_messages_ja.h"

namespace {

QString realTidy()
{
    return QStandardPaths::findExecutable("tidy");
}

// The report messages of the installed tidy, read apart from the code under
// test: its labelled strings from the first report message up to its own
// command-line texts (TC_...), in the order of their numbers.
QStringList reportIds()
{
    QMap<int, QString> labels;
    static const QRegularExpression entry(R"re(id="(\d+)" label="([A-Z0-9_]+)")re");
    for (auto it = entry.globalMatch(run(realTidy(), {"-xml-strings"}).out); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        labels.insert(m.captured(1).toInt(), m.captured(2));
    }
    QStringList ids;
    for (const QString &label : labels) {
        if (label.startsWith(u"TC_")) break;
        if (label == u"ADDED_MISSING_CHARSET" || !ids.isEmpty()) ids << label;
    }
    return ids;
}

// The Tidy run of the window after a first start, which finds tidy on PATH.
class TidyReportJaTest : public ActionsTest {
protected:
    void SetUp() override { actions.start(); }

    QStringList reportLines(const QString &page, bool japanese)
    {
        actions.settings().tidyJapanese = japanese;
        EXPECT_TRUE(actions.tidyRun().executeTidyNumbered(page, 1, QString()));
        QStringList lines =
            TextCodec::splitLines(TextCodec::decode(readWholeFile(TidyRun::numberedReportPath(1))));
        // Without the heading that names the page.
        EXPECT_TRUE(!lines.isEmpty() && lines.first().startsWith(u"情報: チェックしたHTML: "));
        return lines.mid(1);
    }
};

}  // namespace

TEST_F(TidyReportJaTest, FirstStartSettingsKeepShiftJisEucJpAndUtf8PagesIntact)
{
    ASSERT_FALSE(actions.settings().tidyPath.isEmpty());
    // "ソ" and "表" end in the byte "\" in Shift_JIS.
    const QString title = "日本語のページ";
    const QString text = "これは日本語の段落です。表示・ソース・「記号」、ｶﾀｶﾅ。";
    for (const char *encoding : {"CP932", "EUC-JP", "UTF-8"}) {
        SCOPED_TRACE(encoding);
        home.write(
            "page.html",
            inEncoding("<!DOCTYPE html>\n<title>" + title + "</title>\n<p>" + text, encoding));
        ASSERT_EQ(actions.tidyRun().run(home.file("page.html")), TidyRun::Outcome::Checked);
        const QByteArray tidied = readWholeFile(TidyRun::outputPath());
        EXPECT_TRUE(tidied.contains(inEncoding(title, encoding))) << tidied.constData();
        EXPECT_TRUE(tidied.contains(inEncoding(text, encoding))) << tidied.constData();
        EXPECT_FALSE(tidied.contains("&#")) << tidied.constData();
    }
}

TEST(TidyReportJa, EveryReportIdHasAnEntryWithTheTemplatesPlaceholders)
{
    const TidyMessageTemplates templates = queryTidyMessageTemplates(realTidy());
    ASSERT_GT(templates.size(), 200);

    QStringList ids = reportIds();
    ASSERT_FALSE(ids.isEmpty());
    std::set<std::string> entryIds;
    for (const TidyMessageJa &entry : tidyMessagesJa()) {
        EXPECT_TRUE(entryIds.insert(entry.id).second) << "twice: " << entry.id;
        ids << QString::fromLatin1(entry.id);  // and back: no entry for an id Tidy lacks
    }

    for (const QString &id : ids) {
        SCOPED_TRACE(id.toStdString());
        ASSERT_TRUE(templates.contains(id));
        const TidyMessageJa *entry = findTidyMessageJa(id);
        ASSERT_NE(entry, nullptr);
        const QString japanese = QString::fromUtf8(entry->text);
        const int count = tidyTemplatePlaceholders(templates.value(id));
        ASSERT_GE(count, 0) << templates.value(id).toStdString();
        // {1}..{count}, each exactly once, and nothing else in braces.
        EXPECT_EQ(tidyMessageSlots(japanese), count) << entry->text;
        for (int n = 1; n <= count; ++n)
            EXPECT_EQ(japanese.count(QStringLiteral("{%1}").arg(n)), 1) << entry->text;
        EXPECT_EQ(japanese.count(u'{'), count) << entry->text;
        EXPECT_FALSE(japanese.contains(u'%')) << entry->text;
    }
}

TEST(TidyReportJa, ValuesAreTakenAndPutInAsTheyAre)
{
    const QString huge = QString(1 << 20, u'a') + "\"> before ";
    const std::tuple<QString, QString, std::optional<QStringList>> cases[] = {
        {"missing </%s> before %s", "missing </表> before 100%s {1}",
         QStringList{"表", "100%s {1}"}},
        {"%s attribute \"%s\" lacks value", "<a> attribute \"" + huge + "\" lacks value",
         QStringList{"<a>", huge}},
        {"%s attribute \"%s\" lacks value", "<a> attribute lacks value", std::nullopt},
        {"%c is not allowed, %u times", "é is not allowed, 12 times", QStringList{"é", "12"}},
        {"%c is not allowed, %u times", "ab is not allowed, x times", std::nullopt},
        {"U+%04X is 100%% wrong", "U+D800 is 100% wrong", QStringList{"D800"}},
        {"missing <!DOCTYPE> declaration", "missing <!DOCTYPE> declaration", QStringList{}},
        {"missing <!DOCTYPE> declaration", "missing <!DOCTYPE> declarations", std::nullopt},
    };
    for (const auto &[templ, text, values] : cases)
        EXPECT_EQ(matchTidyTemplate(templ, text), values) << text.left(80).toStdString();
    // One pass: a value that looks like a slot or a template stays as it is.
    EXPECT_EQ(fillTidyMessage("{2} の前に </{1}> がありません", {"{2}", "%s {1}"}),
              "%s {1} の前に </{2}> がありません");
    EXPECT_EQ(fillTidyMessage("{1}{9}{x}", {huge}), huge + "{9}{x}");
}

// Every line of another version's report comes through: in English with its
// kind word translated where it cannot be read, values in place where it can.
TEST_F(TidyReportJaTest, OtherTidyVersionsKeepEveryLine)
{
    const QByteArray help =
        "Name  Type  Allowable values\n=====  ====  ================\nwrap  Integer  0\n";
    const QByteArray muteId = help + "mute-id  Boolean  no, yes\n";
    const QByteArray current = readWholeFile(testDataPath("tidy_report_ja_strings.xml"));
    const QByteArray missing = "line 3 column 5 - Warning: missing </b> before </p>";
    const QString missingJa = "line 3 column 5 - 警告: missing </b> before </p>";
    const QByteArray access =
        "line 4 column 1 - Access: [1.1.1.1]: <img> missing 'alt' text. (IMG_MISSING_ALT)\n";
    // Version, its -help-config and -xml-strings with the exit status, what a run
    // writes to standard error, and the report file's lines.
    const std::tuple<const char *, QByteArray, QByteArray, int, QByteArray, QString> cases[] = {
        {"current", muteId, current, 0, readWholeFile(testDataPath("tidy_report_ja_report.txt")),
         TextCodec::splitLines(
             TextCodec::decode(readWholeFile(testDataPath("tidy_report_ja_expected.txt"))))
             .join('\n')},
        {"no mute-id", help, current, 0, missing + "\nConfig: unknown option: mute-id\n",
         missingJa + "\n設定: unknown option: mute-id"},
        {"xml-strings fails", muteId, "garbage", 1,
         missing + " (MISSING_ENDTAG_BEFORE)\nline 5 column 1 - Error: new (NEW_MESSAGE)\n",
         missingJa + "\nline 5 column 1 - エラー: new (NEW_MESSAGE)"},
        {"older, fewer ids", muteId,
         readWholeFile(testDataPath("tidy_report_ja_strings_older.xml")), 0, access,
         "line 4 column 1 - アクセシビリティ: [1.1.1.1]: <img> missing 'alt' text."},
        {"newer, changed template", muteId,
         readWholeFile(testDataPath("tidy_report_ja_strings_newer.xml")), 0,
         missing + " in <div> (MISSING_ENDTAG_BEFORE)\n", missingJa + " in <div>"},
    };
    TempHome scripts;
    home.write("page.html", "<p>x");
    int n = 0;
    for (const auto &[version, helpText, strings, status, report, expected] : cases) {
        SCOPED_TRACE(version);
        const QString name = QStringLiteral("tidy%1").arg(n++);
        scripts.write(name + ".help", helpText);
        scripts.write(name + ".strings", strings);
        scripts.write(name + ".report", report);
        actions.settings().tidyPath = scripts.script(
            name,
            "case \"$1\" in\n-help-config) cat \"$0.help\" ;;\n"
            "-xml-strings) cat \"$0.strings\"; exit " +
                QByteArray::number(status) +
                " ;;\n*) echo \"$@\" > \"$0.args\"; cat \"$0.report\" >&2; exit 1 ;;\nesac\n");
        EXPECT_EQ(reportLines(home.file("page.html"), true).join('\n'), expected);
        EXPECT_EQ(scripts.read(name + ".args").contains("--mute-id yes"),
                  helpText.contains("mute-id"));

        // Off: Tidy's report as it wrote it, and no id asked for.
        EXPECT_EQ(reportLines(home.file("page.html"), false),
                  TextCodec::splitLines(QString::fromUtf8(report)));
        EXPECT_FALSE(scripts.read(name + ".args").contains("--mute-id"));
    }
}
