#include "tidy/tidy_options.h"

#include "support/test.h"
#include "tidy/option_catalogue.h"
#include "tidy/tidy_config_file.h"

// Readable failure output: the values as the file would hold them.
void PrintTo(const TidyOptionValues &values, std::ostream *os)
{
    *os << writeTidyOptions(values).join(" | ").toStdString() << " [fpi "
        << (values.fpiEnabled() ? "on: " : "off: ") << values.fpiText().toStdString() << "]";
}

namespace {

TidyOptionValues firstStart()
{
    TidyOptionValues values;
    values.applyFirstStartValues();
    return values;
}

TidyOptionValues loaded(const QStringList &lines, TidyOptionValues values = firstStart())
{
    loadTidyOptions(lines, values);
    return values;
}

QString valueOf(const TidyOptionValues &values, const QString &name)
{
    const TidyOption *option = findTidyOption(name);
    if (option && option->kind == OptionKind::Boolean)
        return values.isTicked(name) ? "true" : "false";
    return values.text(name);
}

}  // namespace

// A hint without the bar is a tool tip as well; its quotes are kept.
TEST(TidyOptionCatalogue, HintsAsToolTips)
{
    EXPECT_EQ(shortHint(*findTidyOption("quote-marks")),
              "\"を\"&quot;\"として、'を\"&#39;\"として出力");
    EXPECT_TRUE(shortHint(*findTidyOption("fix-backslash")).isEmpty());
}

TEST(TidyOptionValues, CreationDiffersFromFirstStartOnlyInTheEncodings)
{
    const TidyOptionValues created = TidyOptionValues::atCreation();
    EXPECT_EQ(created.text("input-encoding"), "latin1");
    TidyOptionValues fixed = created;
    for (const char *option : {"char-encoding", "input-encoding", "output-encoding"})
        fixed.select(option, "raw");
    EXPECT_EQ(fixed, firstStart());

    // A first start resets lists and numbers but leaves boxes and text fields.
    TidyOptionValues edited;
    edited.setTicked("markup", false);
    edited.setText("alt-text", "画像");
    edited.setText("wrap", "90");
    edited.select("newline", "LF");
    edited.applyFirstStartValues();
    EXPECT_FALSE(edited.isTicked("markup"));
    EXPECT_EQ(edited.text("alt-text"), "画像");
    EXPECT_EQ(edited.text("wrap"), "68");
    EXPECT_EQ(edited.text("newline"), "CRLF");

    // Lists hold only their items; kinds do not mix.
    EXPECT_FALSE(edited.select("newline", "lf"));
    EXPECT_FALSE(edited.selectIndex("accessibility-check", 4));
    edited.setText("markup", "true");
    edited.setTicked("wrap", true);
    EXPECT_EQ(edited.text("wrap"), "68");
    EXPECT_FALSE(edited.isTicked("markup"));
}

TEST(TidyOptionReading, LineRules)
{
    TidyOptionValues before = firstStart();
    before.setText("alt-text", "keep");
    before.setText("new-pre-tags", "listing");
    before.setTicked("quiet", true);
    QStringList lines;
    int groups = 0;
    const QString file = QString::fromUtf8(readWholeFile(testDataPath("tidy_options_lines.txt")));
    for (const QString &line : file.split(u'\n', Qt::SkipEmptyParts)) {
        if (line.startsWith(u'#')) continue;
        if (!line.startsWith("=> ")) {
            lines << line;
            continue;
        }
        const QString option = line.mid(3).section(u'=', 0, 0);
        EXPECT_EQ(option + u'=' + valueOf(loaded(lines, before), option), line.mid(3))
            << lines.join(" | ").toStdString();
        lines.clear();
        ++groups;
    }
    EXPECT_EQ(groups, 31);
    // Lines that change nothing: the control name, a Kelvin sign for "k", a NUL inside.
    const QStringList unchanged = {
        "",      "markup",       "unknown-option:true",  "add_xml_deci:true",
        ":true", "mark up:true", "\u212Aeep-time:false", QString("wr") + QChar(0) + "ap:10"};
    EXPECT_EQ(loaded(unchanged, before), before);
}

TEST(TidyOptionReading, DoctypeKeywordsAndIdentifiers)
{
    const QString fpi = "\"-//W3C//DTD XHTML 1.0 Strict//EN\"";
    TidyOptionValues values = loaded({"doctype: " + fpi});
    EXPECT_EQ(values.selectedIndex("doctype"), kDoctypeUserFpiIndex);
    EXPECT_TRUE(values.fpiEnabled());
    EXPECT_EQ(values.fpiText(), fpi);

    // A keyword, in any case, selects its item and disables the field, which keeps its text.
    loadTidyOptions({"DocType:Strict"}, values);
    EXPECT_EQ(values.text("doctype"), "strict");
    EXPECT_FALSE(values.fpiEnabled());
    EXPECT_EQ(values.fpiText(), fpi);
    // The sixth item typed as such is an identifier like any other.
    loadTidyOptions({"doctype:user specified fpi (string)"}, values);
    EXPECT_TRUE(values.fpiEnabled());

    // Choosing the sixth item alone writes the prompt; reading that enables the field.
    TidyOptionValues chosen = firstStart();
    chosen.selectIndex("doctype", kDoctypeUserFpiIndex);
    EXPECT_FALSE(chosen.fpiEnabled());
    const QStringList lines = writeTidyOptions(chosen);
    EXPECT_TRUE(lines.contains("doctype:Please input fpi."));
    EXPECT_TRUE(loaded(lines).fpiEnabled());
}

TEST(TidyOptionWriting, TextOptionsAndLineOrder)
{
    TidyOptionValues values = firstStart();
    for (const char *option : {"css-prefix", "slide-style", "new-blocklevel-tags"})
        values.setText(option, "x");
    values.setText("alt-text", "a:b");
    // A line break pasted into a one-line field must not become a second option.
    values.setText("new-empty-tags", "y\r\nwrite-back:true");
    const QStringList lines = writeTidyOptions(values);
    EXPECT_EQ(lines.mid(lines.indexOf("split:false") + 1, 6),
              (QStringList{"slide-style:x", "alt-text:a:b", "doctype:auto", "new-blocklevel-tags:x",
                           "new-empty-tags:y write-back:true", "repeated-attributes:keep-last"}));
    EXPECT_EQ(lines.mid(lines.size() - 2), (QStringList{"css-prefix:x", "accessibility-check:0"}));
    EXPECT_EQ(loaded(lines), values);

    // A cleared text field has no line, so reading that file keeps the old text.
    TidyOptionValues cleared = values;
    cleared.setText("new-empty-tags", QString());
    EXPECT_EQ(loaded(writeTidyOptions(cleared), values), values);
}

TEST(TidyOptionNumbers, DigitsAndClamping)
{
    for (const char *text : {"12 ", "+1", "１"}) EXPECT_FALSE(isAllDigits(text)) << text;
    const std::tuple<const char *, const char *, bool> cases[] = {
        {"1000", "1000", false},
        {"1001", "1000", true},
        {"-5", "0", true},
        {"99999999999999999999999", "1000", true},
        {"000000000000000000000042", "000000000000000000000042", false},
        {"", "", false},
        {"abc", "abc", false}};
    for (const auto &[text, expected, clamped] : cases) {
        bool changed = !clamped;
        EXPECT_EQ(clampNumberText(text, 1000, &changed), expected) << text;
        EXPECT_EQ(changed, clamped) << text;
    }
}

TEST(TidyConfigFile, JapaneseValuesSurviveASaveAndLoad)
{
    // Alternative text, document type identifier, and what proves the file's encoding.
    const std::tuple<const char *, const char *, const char *> cases[] = {
        // Plain Japanese: CP932, as the format asks ("画" is 0x89 0xE6 there).
        {"画像の説明：なし", "-//日本//DTD//JA", "alt-text:\x89\xE6"},
        // No CP932 form for the emoji: the whole file goes UTF-8 rather than lose it.
        {"写真 \U0001F600", "", "alt-text:\xE5\x86\x99"},
        // Half-width "ﾃｩ" is C3 A9 in CP932, UTF-8 for "é": only UTF-8 reads back the same.
        {"ﾃｩ", "", "alt-text:\xEF\xBE\x83"},
    };
    TempHome home;
    const QString path = tidyConfigPath(home.path());
    for (const auto &[altText, fpi, fileMustContain] : cases) {
        TidyOptionValues values = firstStart();
        values.setText("alt-text", altText);
        if (*fpi) {
            values.selectIndex("doctype", kDoctypeUserFpiIndex);
            values.setFpiText(fpi);
            values.setFpiEnabled(true);
        }
        ASSERT_TRUE(saveTidyConfig(path, values));
        EXPECT_TRUE(home.read("Velmarin.txt").contains(fileMustContain)) << altText;
        TidyOptionValues back;
        ASSERT_TRUE(loadTidyConfig(path, back));
        EXPECT_EQ(back, values) << altText;
    }
    // A file with a byte order mark, and mixed line breaks.
    home.write("Velmarin.txt", "\xEF\xBB\xBF" + QString("alt-text:代替\r\nwrap:72\n").toUtf8());
    TidyOptionValues values;
    ASSERT_TRUE(loadTidyConfig(path, values));
    EXPECT_EQ(values.text("alt-text") + values.text("wrap"), "代替72");
}

TEST(TidyConfigFile, DamagedAndMissingFiles)
{
    TempHome home;
    TidyOptionValues values;
    EXPECT_FALSE(loadTidyConfig(home.file("none.txt"), values));
    EXPECT_FALSE(loadTidyConfig(home.path(), values));  // a folder
    EXPECT_EQ(values, TidyOptionValues());

    // NUL bytes, stray bytes, a huge line and no final line break.
    const char head[] = "wrap:9\0\0\r\n\x81\xFF\xFE:\r\n";
    const char tail[] = "\0\0tab-size:7\r\nquiet:true";
    QByteArray bytes(head, sizeof head - 1);
    bytes += "alt-text:" + QByteArray(2 * 1024 * 1024, 'x') + "\r\n";
    home.write("Velmarin.txt", bytes + QByteArray(tail, sizeof tail - 1));
    ASSERT_TRUE(loadTidyConfig(tidyConfigPath(home.path()), values));
    EXPECT_EQ(values.text("wrap"), "9");
    EXPECT_EQ(values.text("alt-text").size(), 2 * 1024 * 1024);
    EXPECT_EQ(values.text("tab-size"), "7");  // NUL is trimmed off a key like any control character
    EXPECT_TRUE(values.isTicked("quiet"));
}

TEST(TidyConfigFile, FailedSaveKeepsTheOldFile)
{
    TempHome home;
    // A parent that is a file: nothing can be created there, by anyone.
    home.write("blocker", "x");
    QString error;
    EXPECT_FALSE(saveTidyConfig(home.file("blocker/Velmarin.txt"), firstStart(), &error));
    EXPECT_TRUE(error.startsWith("ファイル ") && error.contains("Velmarin.txt") &&
                error.contains("を作成できません。("))
        << qPrintable(error);

    // A full disk: the old file stays as it was.
    home.write("Velmarin.txt", "wrap:99\r\n");
    error.clear();
    bool saved = true;
    {
        FileSizeLimit full(512);
        saved = saveTidyConfig(tidyConfigPath(home.path()), firstStart(), &error);
    }
    EXPECT_FALSE(saved);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(home.read("Velmarin.txt"), "wrap:99\r\n");
}
