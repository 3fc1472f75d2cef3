// INI files as the Windows private-profile functions treat them: the line
// rules of IniDocument, and IniFile's encodings, fresh reads and safe writes.
#include "platform/ini_document.h"
#include "support/test.h"

namespace {

QByteArray cp932(const QString &text)
{
    QByteArray out;
    EXPECT_TRUE(TextCodec::toCp932(text, &out));
    return out;
}

QString joined(const IniDocument &ini)
{
    return ini.lines().join(u'|');
}

}  // namespace

TEST(IniDocument, LinesReadLikeWindows)
{
    const IniDocument ini = IniDocument::parse(
        "top=before any section\n[ Position ]\n  X = 12  \n\tWidth\t=\t370\t\n"
        "Path=C:\\Program Files\\a=b.exe\n[Tidy]\nDir=\n"
        "[Document Popup Menu] ; trailing text\nItem, Velmarin=run\n[a]b]\nx=1\n"
        "[broken\ny=2\n[]\nz=3\n=nameless\n");
    // Names are case-blind, names and values trimmed; only the first "=" separates.
    EXPECT_EQ(ini.value("POSITION ", " WIDTH"), "370");
    EXPECT_EQ(ini.value("Position", "Path"), "C:\\Program Files\\a=b.exe");
    EXPECT_EQ(ini.keys("position").join(u','), "X,Width,Path");
    // An empty value is present, not missing; keys before the first section belong to none.
    EXPECT_EQ(ini.value("Tidy", "Dir", "d"), "");
    EXPECT_EQ(ini.value("Tidy", "Gone", "d"), "d");
    EXPECT_FALSE(ini.hasKey(QString(), "top"));
    // Text after "]" is ignored; "[broken" has no "]" and is a plain line of "a]b".
    EXPECT_EQ(ini.value("document popup menu", "Item, Velmarin"), "run");
    EXPECT_EQ(ini.value("a]b", "y"), "2");
    EXPECT_FALSE(ini.hasSection(QString()));
    EXPECT_FALSE(ini.hasKey("a]b", QString()));

    // One matching pair of quotes is stripped.
    const struct {
        const char *stored, *read;
    } rows[] = {{"\"  spaced  \"", "  spaced  "},
                {"'single'", "single"},
                {"\"open", "\"open"},
                {"\"mixed'", "\"mixed'"},
                {"\"\"x\"\"", "\"x\""},
                {"\"", "\""},
                {"run, \"C:\\v.exe\", \"%u\"", "run, \"C:\\v.exe\", \"%u\""}};
    for (const auto &row : rows)
        EXPECT_EQ(IniDocument::parse(QString("[Q]\nk=") + row.stored).value("Q", "k"), row.read)
            << row.stored;
}

TEST(IniDocument, FirstSectionAndFirstKeyWinAndRemovalTakesEveryCopy)
{
    IniDocument ini = IniDocument::parse("[A]\nk=1\nK=2\n[a]\nk=3\nonly=4\n[a]b]\nx=1\n");
    EXPECT_EQ(ini.value("A", "k"), "1");
    // A key of a later section of the same name is out of reach, as on Windows.
    EXPECT_FALSE(ini.hasKey("A", "only"));
    ASSERT_TRUE(ini.setValue("a", "K", "9"));
    EXPECT_EQ(joined(ini), "[A]|k=9|K=2|[a]|k=3|only=4|[a]b]|x=1");
    // Every copy goes, so a shadowed line cannot reappear.
    EXPECT_TRUE(ini.removeKey("A", "k"));
    EXPECT_FALSE(ini.removeKey("A", "k"));
    EXPECT_TRUE(ini.removeSection("A]B"));
    EXPECT_FALSE(ini.removeSection("a]b"));
    EXPECT_EQ(joined(ini), "[A]|[a]|only=4");
}

TEST(IniDocument, WrittenValuesReadBackExactlyOrAreRefused)
{
    for (const QString value : {" leading", "trailing\t", "\"quoted\"", "'single'", "a=b=c",
                                "; not a comment", "[not a section]", "全角\u3000", ""}) {
        IniDocument ini;
        ASSERT_TRUE(ini.setValue("S", "Item, Velmarin", value)) << qPrintable(value);
        EXPECT_EQ(IniDocument::parse(ini.serialize()).value("s", "item, velmarin", "missing"),
                  value);
    }
    IniDocument ini = IniDocument::parse("[S]\nk=1\n");
    const struct {
        const char *section, *key, *value;
    } refused[] = {{"S", "k", "two\nlines"}, {"S", "k", "cr\rhere"}, {"S", "a=b", "v"},
                   {"S", "  ", "v"},         {"S", ";k", "v"},       {"S", "[k]", "v"},
                   {"", "k", "v"},           {"a\nb", "k", "v"}};
    for (const auto &r : refused)
        EXPECT_FALSE(ini.setValue(r.section, r.key, r.value)) << r.key << " = " << r.value;
    EXPECT_EQ(joined(ini), "[S]|k=1");
}

TEST(IniFile, MissingFileGivesDefaultsAndFirstWriteCreatesIt)
{
    TempHome home;
    IniFile ini(home.file("new/folder/Velmarin.ini"));
    EXPECT_EQ(ini.readString("Tidy", "Dir", "d"), "d");
    EXPECT_TRUE(ini.readBool("IE", "Open", true));
    // Removing from a missing file succeeds without creating it.
    EXPECT_TRUE(ini.removeKey("Tidy", "Dir"));
    EXPECT_FALSE(ini.exists());

    ASSERT_TRUE(ini.writeInt("Position", "X", -8));
    ASSERT_TRUE(ini.writeBool("IE", "Open", false));
    ASSERT_TRUE(ini.writeString("Tidy", "Dir", "/home/利用者/作業"));
    EXPECT_EQ(home.read("new/folder/Velmarin.ini"),
              cp932("[Position]\r\nX=-8\r\n[IE]\r\nOpen=0\r\n[Tidy]\r\nDir=/home/利用者/作業\r\n"));

    // Any line break, no final one; the encodings are TextCodec's.
    home.write("a.ini", "[Markup]\rCharset=x\nType=y");
    EXPECT_EQ(IniFile(home.file("a.ini")).readString("markup", "type", ""), "y");
}

TEST(IniFile, WritesKeepOtherLinesUseCrLfAndSeeOtherWriters)
{
    TempHome home;
    home.write("a.ini",
               cp932("; 手で書いたコメント\n[Editor]\nPath = /usr/bin/gedit ; not a comment\n"
                     "@@@ garbage @@@\nUnknown=kept\n\n\n[Key]\nTidy=F9"));
    IniFile ini(home.file("a.ini"));
    ASSERT_TRUE(ini.writeStrings(
        {{"KEY", "tidy", "Ctrl+T"}, {"Editor", "Args", "-n"}, {"Other", "x", "1"}}));
    // A new key goes before the blank lines that end its section; a new section at the end.
    EXPECT_EQ(home.read("a.ini"),
              cp932("; 手で書いたコメント\r\n[Editor]\r\nPath = /usr/bin/gedit ; not a comment\r\n"
                    "@@@ garbage @@@\r\nUnknown=kept\r\nArgs=-n\r\n\r\n\r\n[Key]\r\nTidy=Ctrl+T\r\n"
                    "[Other]\r\nx=1\r\n"));
    ASSERT_TRUE(ini.removeSection("editor"));
    ASSERT_TRUE(ini.removeSection("other"));
    EXPECT_EQ(home.read("a.ini"), cp932("; 手で書いたコメント\r\n[Key]\r\nTidy=Ctrl+T\r\n"));

    // Every read and every write starts from the file as another writer left it.
    home.write("a.ini", "[Key]\nGray=Shift+F2\n");
    EXPECT_EQ(ini.readString("Key", "Gray", ""), "Shift+F2");
    ASSERT_TRUE(ini.writeString("Key", "Tidy", "F9"));
    EXPECT_EQ(home.read("a.ini"), "[Key]\r\nGray=Shift+F2\r\nTidy=F9\r\n");
}

TEST(IniFile, TextCp932CannotHoldMakesTheFileUtf8)
{
    TempHome home;
    home.write("a.ini", cp932("; 設定\r\n[Tidy]\r\nDir=/x\r\n"));
    IniFile ini(home.file("a.ini"));
    const QString value = "/home/😀/한국어/€";
    ASSERT_TRUE(ini.writeString("Tidy", "Dir", value));
    EXPECT_EQ(home.read("a.ini"), QString("; 設定\r\n[Tidy]\r\nDir=%1\r\n").arg(value).toUtf8());
    // A file that is UTF-8 stays UTF-8 when later values would fit CP932.
    ASSERT_TRUE(ini.writeString("Tidy", "Path", "整形"));
    EXPECT_TRUE(TextCodec::isValidUtf8(home.read("a.ini")));

    // So does a marked one, mark included.
    home.write("menu.ini", "\xEF\xBB\xBF[Menu]\r\n");
    ASSERT_TRUE(IniFile(home.file("menu.ini")).writeString("Menu", "Item", "実行"));
    EXPECT_EQ(home.read("menu.ini"), "\xEF\xBB\xBF[Menu]\r\nItem=" + QString("実行\r\n").toUtf8());
}

TEST(IniFile, NumbersAndBooleansReadLikeDelphi)
{
    TempHome home;
    home.write("n.ini",
               "[N]\ndec= 42 \nneg=-2147483648\nhex=$1F\ncx=0x10\nallbits=$FFFFFFFF\n"
               "big=2147483648\nfloat=1.5\nword=true\nempty=\nquoted=\"7\"\nzero=0\n");
    const IniFile ini(home.file("n.ini"));
    const struct {
        const char *key;
        int expected;
    } rows[] = {{"dec", 42},     {"neg", -2147483647 - 1},
                {"hex", 31},     {"cx", 16},
                {"allbits", -1}, {"big", -5},
                {"float", -5},   {"word", -5},
                {"empty", -5},   {"quoted", 7},
                {"zero", 0},     {"missing", -5}};
    for (const auto &row : rows) {
        EXPECT_EQ(ini.readInt("N", row.key, -5), row.expected) << row.key;
        // Any number but 0 is true; what is not a number leaves it to the default.
        for (const bool fallback : {false, true})
            EXPECT_EQ(ini.readBool("N", row.key, fallback),
                      row.expected == -5 ? fallback : row.expected != 0);
    }
}

TEST(IniFile, FailedWritesLeaveTheFileAsItWas)
{
    // Failures of the write itself are AtomicFile's; IniFile refuses a value
    // the format cannot hold, and with it the values written together with it.
    // A later success clears the message.
    TempHome home;
    home.write("a.ini", "[Tidy]\r\nDir=/old\r\n");
    IniFile ini(home.file("a.ini"));
    EXPECT_FALSE(ini.writeStrings({{"Tidy", "Dir", "/new"}, {"Tidy", "Path", "two\r\nlines"}}));
    EXPECT_FALSE(ini.errorString().isEmpty());
    EXPECT_EQ(home.read("a.ini"), "[Tidy]\r\nDir=/old\r\n");
    EXPECT_TRUE(ini.writeString("Tidy", "Dir", "/new"));
    EXPECT_TRUE(ini.errorString().isEmpty());
}
