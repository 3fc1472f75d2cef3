#include "platform/ini_document.h"

#include <gtest/gtest.h>

namespace {

IniDocument doc(const char *utf8)
{
    return IniDocument::parse(QString::fromUtf8(utf8));
}

QStringList lineList(std::initializer_list<const char *> utf8)
{
    QStringList out;
    for (const char *line : utf8) out << QString::fromUtf8(line);
    return out;
}

}  // namespace

TEST(IniDocument, ReadsNamesCaseBlindAndTrimsNamesAndValues)
{
    const IniDocument ini =
        doc("top=before any section\n"
            "[ Position ]\n"
            "  X = 12  \n"
            "\tWidth\t=\t370\t\n"
            "Path=C:\\Program Files\\a=b.exe\n"
            "[Tidy]\n"
            "Dir=\n");
    EXPECT_EQ(ini.value(QStringLiteral("position"), QStringLiteral("x")), QStringLiteral("12"));
    EXPECT_EQ(ini.value(QStringLiteral("POSITION "), QStringLiteral(" WIDTH")),
              QStringLiteral("370"));
    // Only the first "=" separates key and value.
    EXPECT_EQ(ini.value(QStringLiteral("Position"), QStringLiteral("Path")),
              QStringLiteral("C:\\Program Files\\a=b.exe"));
    // An empty value is present, not missing.
    EXPECT_TRUE(ini.hasKey(QStringLiteral("tidy"), QStringLiteral("dir")));
    EXPECT_EQ(ini.value(QStringLiteral("Tidy"), QStringLiteral("Dir"), QStringLiteral("d")),
              QString());
    // Keys before the first section belong to no section.
    EXPECT_FALSE(ini.hasKey(QString(), QStringLiteral("top")));
    EXPECT_EQ(ini.value(QStringLiteral("Tidy"), QStringLiteral("Gone"), QStringLiteral("d")),
              QStringLiteral("d"));
    EXPECT_EQ(ini.keys(QStringLiteral("position")),
              (QStringList{QStringLiteral("X"), QStringLiteral("Width"), QStringLiteral("Path")}));
}

TEST(IniDocument, StripsOneMatchingPairOfQuotes)
{
    const IniDocument ini =
        doc("[Q]\n"
            "a=\"  spaced  \"\n"
            "b='single'\n"
            "c=\"open\n"
            "d=\"mixed'\n"
            "e=\"\"x\"\"\n"
            "f=\"\n"
            "g=Execute program, \"C:\\v.exe\", \"%u\"\n");
    const QString q = QStringLiteral("Q");
    EXPECT_EQ(ini.value(q, QStringLiteral("a")), QStringLiteral("  spaced  "));
    EXPECT_EQ(ini.value(q, QStringLiteral("b")), QStringLiteral("single"));
    EXPECT_EQ(ini.value(q, QStringLiteral("c")), QStringLiteral("\"open"));
    EXPECT_EQ(ini.value(q, QStringLiteral("d")), QStringLiteral("\"mixed'"));
    EXPECT_EQ(ini.value(q, QStringLiteral("e")), QStringLiteral("\"x\""));
    EXPECT_EQ(ini.value(q, QStringLiteral("f")), QStringLiteral("\""));
    EXPECT_EQ(ini.value(q, QStringLiteral("g")),
              QStringLiteral("Execute program, \"C:\\v.exe\", \"%u\""));
}

TEST(IniDocument, FirstSectionAndFirstKeyWinForReadAndWrite)
{
    IniDocument ini =
        doc("[A]\n"
            "k=1\n"
            "K=2\n"
            "[a]\n"
            "k=3\n"
            "only=4\n");
    EXPECT_EQ(ini.value(QStringLiteral("A"), QStringLiteral("k")), QStringLiteral("1"));
    // A key of a later section of the same name is out of reach, as on Windows.
    EXPECT_FALSE(ini.hasKey(QStringLiteral("A"), QStringLiteral("only")));

    ASSERT_TRUE(ini.setValue(QStringLiteral("a"), QStringLiteral("K"), QStringLiteral("9")));
    EXPECT_EQ(ini.lines(), lineList({"[A]", "k=9", "K=2", "[a]", "k=3", "only=4"}));

    // Removing a key removes every copy, so it cannot reappear from a shadowed line.
    EXPECT_TRUE(ini.removeKey(QStringLiteral("A"), QStringLiteral("k")));
    EXPECT_EQ(ini.lines(), lineList({"[A]", "[a]", "only=4"}));
    EXPECT_FALSE(ini.removeKey(QStringLiteral("A"), QStringLiteral("k")));
}

TEST(IniDocument, NewKeysAndSectionsGoWhereWindowsPutsThem)
{
    IniDocument ini =
        doc("; settings\n"
            "[Position]\n"
            "X=1\n"
            "\n"
            "\n"
            "[Tidy]\n"
            "garbage line without equals\n"
            "Dir=/tmp");
    ASSERT_TRUE(ini.setValue(QStringLiteral("position"), QStringLiteral("Y"), QStringLiteral("2")));
    ASSERT_TRUE(ini.setValue(QStringLiteral("Tidy"), QStringLiteral("Path"), QString()));
    ASSERT_TRUE(ini.setValue(QStringLiteral("Key"), QStringLiteral("Tidy"), QStringLiteral("F9")));
    EXPECT_EQ(ini.serialize(), QStringLiteral("; settings\r\n"
                                              "[Position]\r\n"
                                              "X=1\r\n"
                                              "Y=2\r\n"
                                              "\r\n"
                                              "\r\n"
                                              "[Tidy]\r\n"
                                              "garbage line without equals\r\n"
                                              "Dir=/tmp\r\n"
                                              "Path=\r\n"
                                              "[Key]\r\n"
                                              "Tidy=F9\r\n"));

    // Replacing a value keeps the key's spelling and every other line.
    ASSERT_TRUE(ini.setValue(QStringLiteral("TIDY"), QStringLiteral("dir"), QStringLiteral("/x")));
    EXPECT_TRUE(ini.lines().contains(QStringLiteral("Dir=/x")));
    EXPECT_TRUE(ini.lines().contains(QStringLiteral("garbage line without equals")));
}

TEST(IniDocument, WrittenValuesReadBackExactly)
{
    const QStringList values{QStringLiteral(" leading"),
                             QStringLiteral("trailing\t"),
                             QStringLiteral("\"quoted\""),
                             QStringLiteral("'single'"),
                             QStringLiteral("a=b=c"),
                             QStringLiteral("; not a comment"),
                             QStringLiteral("[not a section]"),
                             QStringLiteral("全角\u3000"),
                             QString()};
    for (const QString &value : values) {
        IniDocument ini;
        ASSERT_TRUE(ini.setValue(QStringLiteral("S"), QStringLiteral("Item, Velmarin"), value))
            << qPrintable(value);
        const IniDocument back = IniDocument::parse(ini.serialize());
        EXPECT_EQ(back.value(QStringLiteral("s"), QStringLiteral("item, velmarin"),
                             QStringLiteral("missing")),
                  value);
    }
}

TEST(IniDocument, RefusesWhatOneLineCannotHold)
{
    IniDocument ini = doc("[S]\nk=1\n");
    const QString s = QStringLiteral("S");
    EXPECT_FALSE(ini.setValue(s, QStringLiteral("k"), QStringLiteral("two\nlines")));
    EXPECT_FALSE(ini.setValue(s, QStringLiteral("k"), QStringLiteral("cr\rhere")));
    EXPECT_FALSE(ini.setValue(s, QStringLiteral("a=b"), QStringLiteral("v")));
    EXPECT_FALSE(ini.setValue(s, QStringLiteral("  "), QStringLiteral("v")));
    EXPECT_FALSE(ini.setValue(s, QStringLiteral(";k"), QStringLiteral("v")));
    EXPECT_FALSE(ini.setValue(s, QStringLiteral("[k]"), QStringLiteral("v")));
    EXPECT_FALSE(ini.setValue(QString(), QStringLiteral("k"), QStringLiteral("v")));
    EXPECT_FALSE(ini.setValue(QStringLiteral("a\nb"), QStringLiteral("k"), QStringLiteral("v")));
    EXPECT_EQ(ini.lines(), lineList({"[S]", "k=1"}));
}

TEST(IniDocument, SectionsParseLikeWindows)
{
    IniDocument ini =
        doc("[Document Popup Menu] ; trailing text\n"
            "Item, Velmarin=run\n"
            "[a]b]\n"
            "x=1\n"
            "[broken\n"
            "y=2\n"
            "[]\n"
            "z=3\n"
            "=nameless\n");
    EXPECT_EQ(ini.value(QStringLiteral("document popup menu"), QStringLiteral("Item, Velmarin")),
              QStringLiteral("run"));
    EXPECT_EQ(ini.value(QStringLiteral("a]b"), QStringLiteral("x")), QStringLiteral("1"));
    // "[broken" has no "]": it is a plain line of section "a]b".
    EXPECT_EQ(ini.value(QStringLiteral("a]b"), QStringLiteral("y")), QStringLiteral("2"));
    EXPECT_FALSE(ini.hasSection(QString()));
    EXPECT_FALSE(ini.hasKey(QStringLiteral("a]b"), QString()));

    EXPECT_TRUE(ini.removeSection(QStringLiteral("A]B")));
    EXPECT_EQ(ini.lines(), lineList({"[Document Popup Menu] ; trailing text", "Item, Velmarin=run",
                                     "[]", "z=3", "=nameless"}));
    EXPECT_FALSE(ini.removeSection(QStringLiteral("a]b")));
}
