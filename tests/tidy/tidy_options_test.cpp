#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QSet>
#include <ostream>

#include "platform/text_codec.h"
#include "support/temp_home.h"
#include "tidy/option_catalogue.h"
#include "tidy/tidy_config_file.h"
#include "tidy/tidy_options.h"

// Readable failure output: the values as the file would hold them.
void PrintTo(const TidyOptionValues &values, std::ostream *os)
{
    *os << writeTidyOptions(values).join(QStringLiteral(" | ")).toStdString() << " [fpi "
        << (values.fpiEnabled() ? "on: " : "off: ") << values.fpiText().toStdString() << "]";
}

namespace {

// The file a first start writes, written out by hand from the option tables.
const char kFirstStartFile[] =
    "add-xml-decl:false\r\n"
    "add-xml-space:false\r\n"
    "assume-xml-procins:false\r\n"
    "bare:false\r\n"
    "break-before-br:false\r\n"
    "clean:false\r\n"
    "drop-empty-paras:true\r\n"
    "drop-font-tags:false\r\n"
    "drop-proprietary-attributes:false\r\n"
    "enclose-block-text:false\r\n"
    "enclose-text:false\r\n"
    "escape-cdata:false\r\n"
    "fix-bad-comments:true\r\n"
    "fix-uri:true\r\n"
    "hide-comments:false\r\n"
    "hide-endtags:false\r\n"
    "indent-cdata:false\r\n"
    "input-xml:false\r\n"
    "join-classes:false\r\n"
    "join-styles:true\r\n"
    "logical-emphasis:false\r\n"
    "lower-literals:true\r\n"
    "ncr:true\r\n"
    "numeric-entities:false\r\n"
    "output-xhtml:false\r\n"
    "output-xml:false\r\n"
    "quote-ampersand:true\r\n"
    "quote-marks:false\r\n"
    "quote-nbsp:false\r\n"
    "replace-color:false\r\n"
    "show-body-only:false\r\n"
    "uppercase-attributes:false\r\n"
    "uppercase-tags:false\r\n"
    "word-2000:false\r\n"
    "split:false\r\n"
    "doctype:auto\r\n"
    "repeated-attributes:keep-last\r\n"
    "indent:auto\r\n"
    "indent-attributes:false\r\n"
    "literal-attributes:false\r\n"
    "markup:true\r\n"
    "wrap-asp:true\r\n"
    "wrap-attributes:false\r\n"
    "indent-spaces:2\r\n"
    "tab-size:4\r\n"
    "wrap:68\r\n"
    "wrap-jste:true\r\n"
    "wrap-php:true\r\n"
    "wrap-script-literals:false\r\n"
    "wrap-sections:true\r\n"
    "show-errors:6\r\n"
    "show-warnings:true\r\n"
    "ascii-chars:true\r\n"
    "char-encoding:ascii\r\n"
    "input-encoding:latin0\r\n"
    "output-encoding:ascii\r\n"
    "output-bom:auto\r\n"
    "newline:CRLF\r\n"
    "fix-backslash:true\r\n"
    "force-output:false\r\n"
    "gnu-emacs:false\r\n"
    "quiet:false\r\n"
    "keep-time:true\r\n"
    "write-back:false\r\n"
    "tidy-mark:true\r\n"
    "accessibility-check:0\r\n";

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

QString line(const char *utf8) { return QString::fromUtf8(utf8); }

// The value of an option as the file would carry it.
QString valueOf(const TidyOptionValues &values, const char *name)
{
    const QString key = QString::fromUtf8(name);
    const TidyOption *option = findTidyOption(key);
    if (option && option->kind == OptionKind::Boolean)
        return values.isTicked(key) ? QStringLiteral("true") : QStringLiteral("false");
    return values.text(key);
}

bool isRoot() { return geteuid() == 0; }

}  // namespace

TEST(TidyOptionCatalogue, CountsKindsAndNamesAreConsistent)
{
    const QVector<TidyOption> &catalogue = tidyOptionCatalogue();
    ASSERT_EQ(catalogue.size(), 73);
    QSet<QString> names;
    int texts = 0;
    for (const TidyOption &option : catalogue) {
        EXPECT_FALSE(names.contains(option.name)) << qPrintable(option.name);
        names.insert(option.name);
        texts += option.kind == OptionKind::Text;
        // The control bears the option name with "-" as "_", with one old exception.
        QString control = option.name;
        control.replace(u'-', u'_');
        if (option.name == QStringLiteral("add-xml-decl"))
            control = QStringLiteral("add_xml_deci");
        EXPECT_EQ(option.control, control);
        if (option.kind == OptionKind::Choice || option.kind == OptionKind::Doctype) {
            EXPECT_TRUE(option.choices.contains(option.initial)) << qPrintable(option.name);
        }
        if (option.kind == OptionKind::Choice) {
            EXPECT_TRUE(option.choices.contains(option.fallback)) << qPrintable(option.name);
        }
        if (option.kind == OptionKind::Number) {
            EXPECT_GT(option.maximum, 0);
            EXPECT_TRUE(isAllDigits(option.fallback));
        }
    }
    EXPECT_EQ(texts, 7);
    // File order of the containers.
    OptionGroup previous = OptionGroup::HtmlXml;
    for (const TidyOption &option : catalogue) {
        EXPECT_GE(int(option.group), int(previous)) << qPrintable(option.name);
        previous = option.group;
    }
}

TEST(TidyOptionCatalogue, HintsKeepTheirQuotesAndBars)
{
    // Only these two hints lack the bar, so they are tool tips as well.
    QStringList noBar;
    for (const TidyOption &option : tidyOptionCatalogue()) {
        if (!option.hintHasBar)
            noBar << option.name;
    }
    EXPECT_EQ(noBar, (QStringList{QStringLiteral("drop-font-tags"), QStringLiteral("quote-marks")}));
    const TidyOption *quoteMarks = findTidyOption(QStringLiteral("quote-marks"));
    EXPECT_EQ(shortHint(*quoteMarks),
              QStringLiteral("\"を\"&quot;\"として、'を\"&#39;\"として出力"));
    const TidyOption *backslash = findTidyOption(QStringLiteral("fix-backslash"));
    EXPECT_EQ(backslash->hint, QStringLiteral("バックスラッシュキャラクタ(\\)を/へ置換"));
    EXPECT_TRUE(shortHint(*backslash).isEmpty());
    EXPECT_EQ(findTidyOption(QStringLiteral("Wrap")), nullptr);
    EXPECT_EQ(findTidyOption(QStringLiteral("output-encoding"))->choices, tidyEncodingList());
}

TEST(TidyConfigFile, FirstStartFileByteForByte)
{
    TempHome home;
    const QString path = tidyConfigPath(home.path());
    EXPECT_TRUE(path.endsWith(QStringLiteral("/Velmarin.txt")));
    QString error;
    ASSERT_TRUE(saveTidyConfig(path, firstStart(), &error)) << qPrintable(error);
    const QByteArray bytes = home.read(QStringLiteral("Velmarin.txt"));
    EXPECT_EQ(bytes, QByteArray(kFirstStartFile));
    EXPECT_EQ(bytes.count("\r\n"), 66);
}

TEST(TidyOptionValues, CreationDiffersFromFirstStartOnlyInInputEncoding)
{
    const TidyOptionValues created = TidyOptionValues::atCreation();
    EXPECT_EQ(created.text(QStringLiteral("input-encoding")), QStringLiteral("latin1"));
    EXPECT_EQ(created.fpiText(), QStringLiteral("Please input fpi."));
    EXPECT_FALSE(created.fpiEnabled());
    TidyOptionValues fixed = created;
    fixed.select(QStringLiteral("input-encoding"), QStringLiteral("latin0"));
    EXPECT_EQ(fixed, firstStart());

    // A first start resets lists and numbers but leaves boxes and text fields.
    TidyOptionValues edited;
    edited.setTicked(QStringLiteral("markup"), false);
    edited.setText(QStringLiteral("alt-text"), QStringLiteral("画像"));
    edited.setText(QStringLiteral("wrap"), QStringLiteral("90"));
    edited.select(QStringLiteral("newline"), QStringLiteral("LF"));
    edited.applyFirstStartValues();
    EXPECT_FALSE(edited.isTicked(QStringLiteral("markup")));
    EXPECT_EQ(edited.text(QStringLiteral("alt-text")), QStringLiteral("画像"));
    EXPECT_EQ(edited.text(QStringLiteral("wrap")), QStringLiteral("68"));
    EXPECT_EQ(edited.text(QStringLiteral("newline")), QStringLiteral("CRLF"));

    // Lists hold only their items; kinds do not mix.
    EXPECT_FALSE(edited.select(QStringLiteral("newline"), QStringLiteral("lf")));
    EXPECT_FALSE(edited.selectIndex(QStringLiteral("accessibility-check"), 4));
    edited.setText(QStringLiteral("markup"), QStringLiteral("true"));
    edited.setTicked(QStringLiteral("wrap"), true);
    EXPECT_EQ(edited.text(QStringLiteral("wrap")), QStringLiteral("68"));
    EXPECT_FALSE(edited.isTicked(QStringLiteral("markup")));
}

TEST(TidyOptionReading, OneLineRules)
{
    struct Case {
        const char *line;
        const char *option;
        const char *expected;
    };
    const Case cases[] = {
        // Key case and blanks do not matter; the value keeps its case.
        {"Indent-Spaces : 8", "indent-spaces", "8"},
        {"\t indent-spaces:\t12 \x01", "indent-spaces", "12"},
        // Numbers: digits only, else the option's own fallback.
        {"wrap: 1,000", "wrap", "68"},
        {"wrap:-5", "wrap", "68"},
        {"wrap:5000", "wrap", "5000"},
        {"wrap:0070", "wrap", "0070"},
        {"wrap:\xEF\xBC\x95", "wrap", "68"},  // a full-width digit is not a digit here
        {"show-errors:", "show-errors", "0"},
        {"show-errors:x", "show-errors", "0"},
        {"tab-size:4.5", "tab-size", "4"},
        // Booleans: exactly y, yes, t, true, 1.
        {"markup:TRUE", "markup", "false"},
        {"markup:on", "markup", "false"},
        {"markup:yes", "markup", "true"},
        {"markup:y", "markup", "true"},
        {"MARKUP:t", "markup", "true"},
        {"show-warnings:false", "show-warnings", "false"},
        {"split:true", "split", "true"},
        // Lists and their fallbacks.
        {"repeated-attributes:KEEP-FIRST", "repeated-attributes", "keep-first"},
        {"repeated-attributes:first", "repeated-attributes", "keep-last"},
        {"accessibility-check:3", "accessibility-check", "3"},
        {"accessibility-check:4", "accessibility-check", "0"},
        {"indent:Yes", "indent", "true"},
        {"indent:n", "indent", "false"},
        {"indent:0", "indent", "false"},
        {"indent:AUTO", "indent", "auto"},
        {"indent:maybe", "indent", "auto"},
        {"output-bom:T", "output-bom", "true"},
        {"input-encoding:euc-jp", "input-encoding", "latin0"},
        {"char-encoding:euc-jp", "char-encoding", "ascii"},
        {"char-encoding:ShiftJIS", "char-encoding", "shiftjis"},
        {"input-encoding:UTF8", "input-encoding", "utf8"},
        {"newline:lf", "newline", "LF"},
        {"newline:\\n", "newline", "CRLF"},
        // Text: everything after the first colon, trimmed, case kept.
        {"alt-text:http://example.jp/a:b", "alt-text", "http://example.jp/a:b"},
        {"alt-text:  画像 ", "alt-text", "画像"},
        {"alt-text:\xE3\x80\x80全角\xE3\x80\x80", "alt-text", "\xE3\x80\x80全角\xE3\x80\x80"},
        {"slide-style:Slide.CSS", "slide-style", "Slide.CSS"},
        {"new-inline-tags:foo,bar", "new-inline-tags", "foo,bar"},
    };
    for (const Case &c : cases) {
        const TidyOptionValues values = loaded({line(c.line)});
        EXPECT_EQ(valueOf(values, c.option), QString::fromUtf8(c.expected)) << c.line;
    }
}

TEST(TidyOptionReading, LinesThatChangeNothing)
{
    TidyOptionValues before = firstStart();
    before.setText(QStringLiteral("alt-text"), QStringLiteral("keep"));
    const QStringList lines = {
        QString(),
        QStringLiteral("markup"),                 // no colon
        QStringLiteral("unknown-option:true"),
        QStringLiteral("add_xml_deci:true"),      // the control name is not a key
        QStringLiteral(":true"),
        QStringLiteral("mark up:true"),
        QStringLiteral("\u212Aeep-time:false"),   // Kelvin sign, not "k"
        QStringLiteral("wr") + QChar(0) + QStringLiteral("ap:10"),
    };
    EXPECT_EQ(loaded(lines, before), before);
}

TEST(TidyOptionReading, LaterLinesWinAndUnmentionedOptionsStay)
{
    TidyOptionValues before = firstStart();
    before.setText(QStringLiteral("new-pre-tags"), QStringLiteral("listing"));
    before.setTicked(QStringLiteral("quiet"), true);
    const TidyOptionValues after = loaded(
        {QStringLiteral("wrap:10"), QStringLiteral("quiet:false"), QStringLiteral("wrap:20")},
        before);
    EXPECT_EQ(after.text(QStringLiteral("wrap")), QStringLiteral("20"));
    EXPECT_FALSE(after.isTicked(QStringLiteral("quiet")));
    EXPECT_EQ(after.text(QStringLiteral("new-pre-tags")), QStringLiteral("listing"));

    // An empty text value read from a file does clear the field.
    EXPECT_TRUE(loaded({QStringLiteral("new-pre-tags:")}, before)
                    .text(QStringLiteral("new-pre-tags"))
                    .isEmpty());

    // A cleared text field has no line, so reading that file keeps the old text.
    TidyOptionValues cleared = before;
    cleared.setText(QStringLiteral("new-pre-tags"), QString());
    const QStringList lines = writeTidyOptions(cleared);
    EXPECT_EQ(lines.size(), 66);
    EXPECT_EQ(loaded(lines, before).text(QStringLiteral("new-pre-tags")),
              QStringLiteral("listing"));
}

TEST(TidyOptionReading, DoctypeKeywordsAndIdentifiers)
{
    const QString fpi = QStringLiteral("\"-//W3C//DTD XHTML 1.0 Strict//EN\"");
    TidyOptionValues values = loaded({QStringLiteral("doctype: ") + fpi});
    EXPECT_EQ(values.selectedIndex(QStringLiteral("doctype")), kDoctypeUserFpiIndex);
    EXPECT_TRUE(values.fpiEnabled());
    EXPECT_EQ(values.fpiText(), fpi);
    EXPECT_TRUE(writeTidyOptions(values).contains(QStringLiteral("doctype:") + fpi));

    // A keyword, in any case, selects its item and disables the field again;
    // the field keeps its text.
    loadTidyOptions({QStringLiteral("DocType:Strict")}, values);
    EXPECT_EQ(values.text(QStringLiteral("doctype")), QStringLiteral("strict"));
    EXPECT_FALSE(values.fpiEnabled());
    EXPECT_EQ(values.fpiText(), fpi);

    // The sixth item typed as such is an identifier like any other.
    loadTidyOptions({QStringLiteral("doctype:user specified fpi (string)")}, values);
    EXPECT_TRUE(values.fpiEnabled());
    EXPECT_EQ(values.fpiText(), QStringLiteral("user specified fpi (string)"));

    // Choosing the sixth item alone writes the prompt; reading that enables the field.
    TidyOptionValues chosen = firstStart();
    chosen.selectIndex(QStringLiteral("doctype"), kDoctypeUserFpiIndex);
    EXPECT_FALSE(chosen.fpiEnabled());
    const QStringList lines = writeTidyOptions(chosen);
    EXPECT_TRUE(lines.contains(QStringLiteral("doctype:Please input fpi.")));
    const TidyOptionValues reread = loaded(lines);
    EXPECT_TRUE(reread.fpiEnabled());
    EXPECT_EQ(reread.fpiText(), QStringLiteral("Please input fpi."));
}

TEST(TidyOptionWriting, TextOptionsAndLineOrder)
{
    TidyOptionValues values = firstStart();
    values.setText(QStringLiteral("css-prefix"), QStringLiteral("c"));
    values.setText(QStringLiteral("slide-style"), QStringLiteral("s"));
    values.setText(QStringLiteral("alt-text"), QStringLiteral("a:b"));
    values.setText(QStringLiteral("new-blocklevel-tags"), QStringLiteral("x"));
    // A line break pasted into a one-line field must not become a second option.
    values.setText(QStringLiteral("new-empty-tags"), QStringLiteral("y\r\nwrite-back:true"));
    const QStringList lines = writeTidyOptions(values);
    ASSERT_EQ(lines.size(), 71);
    const int split = lines.indexOf(QStringLiteral("split:false"));
    EXPECT_EQ(lines.at(split + 1), QStringLiteral("slide-style:s"));
    EXPECT_EQ(lines.at(split + 2), QStringLiteral("alt-text:a:b"));
    EXPECT_EQ(lines.at(split + 3), QStringLiteral("doctype:auto"));
    EXPECT_EQ(lines.at(split + 4), QStringLiteral("new-blocklevel-tags:x"));
    EXPECT_EQ(lines.at(split + 5), QStringLiteral("new-empty-tags:y write-back:true"));
    EXPECT_EQ(lines.at(split + 6), QStringLiteral("repeated-attributes:keep-last"));
    EXPECT_EQ(lines.last(), QStringLiteral("accessibility-check:0"));
    EXPECT_EQ(lines.at(lines.size() - 2), QStringLiteral("css-prefix:c"));
    EXPECT_FALSE(loaded(lines).isTicked(QStringLiteral("write-back")));
    EXPECT_EQ(loaded(lines), values);
}

TEST(TidyOptionNumbers, DigitsAndClamping)
{
    EXPECT_TRUE(isAllDigits(QString()));
    EXPECT_TRUE(isAllDigits(QStringLiteral("0123456789")));
    EXPECT_FALSE(isAllDigits(QStringLiteral("12 ")));
    EXPECT_FALSE(isAllDigits(QStringLiteral("+1")));
    EXPECT_FALSE(isAllDigits(QStringLiteral("１")));

    struct Case {
        const char *text;
        int maximum;
        const char *expected;
        bool changed;
    };
    const Case cases[] = {
        {"5000", 1000, "1000", true},
        {"1000", 1000, "1000", false},
        {"1001", 1000, "1000", true},
        {"999", 1000, "999", false},
        {"0", 100, "0", false},
        {"007", 100, "007", false},
        {"-5", 100, "0", true},
        {"99999999999999999999999", 100, "100", true},
        {"000000000000000000000042", 100, "000000000000000000000042", false},
        {"", 100, "", false},
        {"abc", 100, "abc", false},
    };
    for (const Case &c : cases) {
        bool changed = !c.changed;
        EXPECT_EQ(clampNumberText(QString::fromUtf8(c.text), c.maximum, &changed),
                  QString::fromUtf8(c.expected))
            << c.text;
        EXPECT_EQ(changed, c.changed) << c.text;
    }
}

TEST(TidyConfigFile, JapaneseValuesSurviveASaveAndLoad)
{
    struct Case {
        const char *altText;
        const char *fpi;
        const char *fileMustContain;  // proves which encoding the file took
    };
    const Case cases[] = {
        // Plain Japanese: CP932, as the format asks ("画" is 0x89 0xE6 there).
        {"画像の説明：なし", "-//日本//DTD//JA", "alt-text:\x89\xE6"},
        // No CP932 form for the emoji: the whole file goes UTF-8 rather than lose it.
        {"写真 \U0001F600", "", "alt-text:\xE5\x86\x99"},
        // Half-width "ﾃｩ" is C3 A9 in CP932, which is also UTF-8 for "é": a
        // file of only such text must be written UTF-8 to read back the same.
        {"ﾃｩ", "", "alt-text:\xEF\xBE\x83"},
    };
    for (const Case &c : cases) {
        TempHome home;
        const QString path = tidyConfigPath(home.path());
        TidyOptionValues values = firstStart();
        values.setText(QStringLiteral("alt-text"), QString::fromUtf8(c.altText));
        if (*c.fpi) {
            values.selectIndex(QStringLiteral("doctype"), kDoctypeUserFpiIndex);
            values.setFpiText(QString::fromUtf8(c.fpi));
            values.setFpiEnabled(true);
        }
        ASSERT_TRUE(saveTidyConfig(path, values));
        EXPECT_TRUE(home.read(QStringLiteral("Velmarin.txt")).contains(c.fileMustContain))
            << c.altText;
        TidyOptionValues back;
        ASSERT_TRUE(loadTidyConfig(path, back));
        EXPECT_EQ(back, values) << c.altText;
    }
}

TEST(TidyConfigFile, ReadsCp932AndUtf8FilesAsWritten)
{
    TempHome home;
    const QString text = QStringLiteral("alt-text:代替テキスト\r\nwrap:72\nmarkup:false");
    QByteArray sjis;
    ASSERT_TRUE(TextCodec::toCp932(text, &sjis));
    const QByteArray utf8 = QByteArray("\xEF\xBB\xBF") + text.toUtf8();
    for (const QByteArray &bytes : {sjis, utf8}) {
        home.write(QStringLiteral("Velmarin.txt"), bytes);
        TidyOptionValues values;
        ASSERT_TRUE(loadTidyConfig(tidyConfigPath(home.path()), values));
        EXPECT_EQ(values.text(QStringLiteral("alt-text")), QStringLiteral("代替テキスト"));
        EXPECT_EQ(values.text(QStringLiteral("wrap")), QStringLiteral("72"));
        EXPECT_FALSE(values.isTicked(QStringLiteral("markup")));
    }
}

TEST(TidyConfigFile, DamagedAndMissingFiles)
{
    TempHome home;
    TidyOptionValues values;
    const TidyOptionValues untouched = values;
    EXPECT_FALSE(loadTidyConfig(home.file(QStringLiteral("none.txt")), values));
    EXPECT_FALSE(loadTidyConfig(home.path(), values));  // a folder
    EXPECT_EQ(values, untouched);

    // NUL bytes, stray bytes, a huge line and no final line break.
    const char head[] = "wrap:9\0\0\r\n\x81\xFF\xFE:\r\n";
    const char tail[] = "\0\0tab-size:7\r\nquiet:true";
    QByteArray bytes(head, sizeof head - 1);
    bytes += "alt-text:" + QByteArray(2 * 1024 * 1024, 'x') + "\r\n";
    bytes += QByteArray(tail, sizeof tail - 1);
    home.write(QStringLiteral("Velmarin.txt"), bytes);
    ASSERT_TRUE(loadTidyConfig(tidyConfigPath(home.path()), values));
    EXPECT_EQ(values.text(QStringLiteral("wrap")), QStringLiteral("9"));
    EXPECT_EQ(values.text(QStringLiteral("alt-text")).size(), 2 * 1024 * 1024);
    // NUL counts among the control characters trimmed off a key.
    EXPECT_EQ(values.text(QStringLiteral("tab-size")), QStringLiteral("7"));
    EXPECT_TRUE(values.isTicked(QStringLiteral("quiet")));
}

TEST(TidyConfigFile, FailedSaveKeepsTheOldFile)
{
    TempHome home;
    // A parent that is a file: nothing can be created there, by anyone.
    home.write(QStringLiteral("blocker"), "x");
    const QString impossible = home.file(QStringLiteral("blocker/Velmarin.txt"));
    QString error;
    EXPECT_FALSE(saveTidyConfig(impossible, firstStart(), &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("ファイル "))) << qPrintable(error);
    EXPECT_TRUE(error.contains(QStringLiteral("Velmarin.txt")));
    EXPECT_TRUE(error.contains(QStringLiteral("を作成できません。(")));

    // A folder in the file's place cannot be replaced; it stays, with no stray temporary file.
    QDir(home.path()).mkdir(QStringLiteral("Velmarin.txt"));
    EXPECT_FALSE(saveTidyConfig(tidyConfigPath(home.path()), firstStart(), &error));
    EXPECT_TRUE(QFileInfo(tidyConfigPath(home.path())).isDir());
    EXPECT_EQ(QDir(home.path()).entryList(QDir::Files), QStringList{QStringLiteral("blocker")});
}

TEST(TidyConfigFile, ReadOnlyFolderKeepsTheOldFile)
{
    if (isRoot())
        GTEST_SKIP() << "permissions do not bind root";
    TempHome home;
    const QString path = tidyConfigPath(home.path());
    home.write(QStringLiteral("Velmarin.txt"), "wrap:99\r\n");
    QFile::setPermissions(home.path(), QFile::ReadOwner | QFile::ExeOwner);
    QString error;
    EXPECT_FALSE(saveTidyConfig(path, firstStart(), &error));
    QFile::setPermissions(home.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(home.read(QStringLiteral("Velmarin.txt")), QByteArray("wrap:99\r\n"));
}

TEST(TidyConfigFile, SaveReplacesAnOlderFileCompletely)
{
    TempHome home;
    const QString path = tidyConfigPath(home.path());
    home.write(QStringLiteral("Velmarin.txt"), QByteArray(100000, 'z'));
    ASSERT_TRUE(saveTidyConfig(path, firstStart()));
    EXPECT_EQ(home.read(QStringLiteral("Velmarin.txt")), QByteArray(kFirstStartFile));
}
