#include "platform/ini_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QDir>
#include <QFileInfo>
#include <csignal>

#include "platform/text_codec.h"
#include "support/temp_home.h"

namespace {

QByteArray cp932(const QString &text)
{
    QByteArray out;
    EXPECT_TRUE(TextCodec::toCp932(text, &out));
    return out;
}

}  // namespace

TEST(IniFile, MissingFileGivesDefaultsAndFirstWriteCreatesIt)
{
    TempHome home;
    IniFile ini(home.file(QStringLiteral("new/folder/Velmarin.ini")));
    EXPECT_FALSE(ini.exists());
    EXPECT_EQ(ini.readString(QStringLiteral("Tidy"), QStringLiteral("Dir"), QStringLiteral("d")),
              QStringLiteral("d"));
    EXPECT_EQ(ini.readInt(QStringLiteral("Position"), QStringLiteral("Width"), 370), 370);
    EXPECT_TRUE(ini.readBool(QStringLiteral("IE"), QStringLiteral("Open"), true));
    EXPECT_FALSE(ini.hasSection(QStringLiteral("Tidy")));
    EXPECT_TRUE(ini.keys(QStringLiteral("Tidy")).isEmpty());
    // Removing from a missing file succeeds without creating it.
    EXPECT_TRUE(ini.removeKey(QStringLiteral("Tidy"), QStringLiteral("Dir")));
    EXPECT_FALSE(ini.exists());

    ASSERT_TRUE(ini.writeInt(QStringLiteral("Position"), QStringLiteral("X"), -8));
    ASSERT_TRUE(ini.writeBool(QStringLiteral("IE"), QStringLiteral("Open"), false));
    ASSERT_TRUE(ini.writeString(QStringLiteral("Tidy"), QStringLiteral("Dir"),
                                QStringLiteral("/home/利用者/作業")));
    EXPECT_TRUE(ini.exists());
    EXPECT_TRUE(ini.errorString().isEmpty());
    EXPECT_EQ(home.read(QStringLiteral("new/folder/Velmarin.ini")),
              cp932(QStringLiteral("[Position]\r\nX=-8\r\n[IE]\r\nOpen=0\r\n"
                                   "[Tidy]\r\nDir=/home/利用者/作業\r\n")));
}

TEST(IniFile, ReadsCp932AndUtf8WithAnyLineBreakAndNoFinalBreak)
{
    TempHome home;
    const QString text = QStringLiteral("[Markup]\rCharset=日本語 (Shift_JIS)\nType=ＨＴＭＬ");
    home.write(QStringLiteral("sjis.ini"), cp932(text));
    home.write(QStringLiteral("utf8.ini"), text.toUtf8());
    home.write(QStringLiteral("bom.ini"), QByteArray("\xEF\xBB\xBF") + text.toUtf8());
    for (const QString &name :
         {QStringLiteral("sjis.ini"), QStringLiteral("utf8.ini"), QStringLiteral("bom.ini")}) {
        const IniFile ini(home.file(name));
        EXPECT_EQ(ini.readString(QStringLiteral("markup"), QStringLiteral("charset"), QString()),
                  QStringLiteral("日本語 (Shift_JIS)"))
            << qPrintable(name);
        EXPECT_EQ(ini.readString(QStringLiteral("Markup"), QStringLiteral("Type"), QString()),
                  QStringLiteral("ＨＴＭＬ"))
            << qPrintable(name);
    }
}

TEST(IniFile, WriteKeepsOtherLinesAndUsesCrLf)
{
    TempHome home;
    const QByteArray before =
        cp932(QStringLiteral("; 手で書いたコメント\n"
                             "[Editor]\n"
                             "Path = /usr/bin/gedit ; not a comment\n"
                             "@@@ garbage @@@\n"
                             "Unknown=kept\n"
                             "\n"
                             "[Key]\n"
                             "Tidy=F9"));
    home.write(QStringLiteral("a.ini"), before);
    IniFile ini(home.file(QStringLiteral("a.ini")));
    ASSERT_TRUE(
        ini.writeString(QStringLiteral("KEY"), QStringLiteral("tidy"), QStringLiteral("Ctrl+T")));
    ASSERT_TRUE(
        ini.writeString(QStringLiteral("Editor"), QStringLiteral("Args"), QStringLiteral("-n")));
    EXPECT_EQ(home.read(QStringLiteral("a.ini")),
              cp932(QStringLiteral("; 手で書いたコメント\r\n"
                                   "[Editor]\r\n"
                                   "Path = /usr/bin/gedit ; not a comment\r\n"
                                   "@@@ garbage @@@\r\n"
                                   "Unknown=kept\r\n"
                                   "Args=-n\r\n"
                                   "\r\n"
                                   "[Key]\r\n"
                                   "Tidy=Ctrl+T\r\n")));
    EXPECT_EQ(ini.readString(QStringLiteral("Editor"), QStringLiteral("Path"), QString()),
              QStringLiteral("/usr/bin/gedit ; not a comment"));

    ASSERT_TRUE(ini.removeSection(QStringLiteral("editor")));
    EXPECT_EQ(home.read(QStringLiteral("a.ini")),
              cp932(QStringLiteral("; 手で書いたコメント\r\n[Key]\r\nTidy=Ctrl+T\r\n")));
}

TEST(IniFile, EveryReadSeesChangesMadeByOthers)
{
    TempHome home;
    IniFile ini(home.file(QStringLiteral("key.ini")));
    ASSERT_TRUE(ini.writeString(QStringLiteral("Key"), QStringLiteral("Gray"), QString()));
    home.write(QStringLiteral("key.ini"), QByteArray("[Key]\nGray=Shift+F2\n"));
    EXPECT_EQ(ini.readString(QStringLiteral("Key"), QStringLiteral("Gray"), QString()),
              QStringLiteral("Shift+F2"));
    // The next write starts from the file as the other writer left it.
    ASSERT_TRUE(
        ini.writeString(QStringLiteral("Key"), QStringLiteral("Tidy"), QStringLiteral("F9")));
    EXPECT_EQ(home.read(QStringLiteral("key.ini")),
              QByteArray("[Key]\r\nGray=Shift+F2\r\nTidy=F9\r\n"));
}

TEST(IniFile, TextCp932CannotHoldMakesTheFileUtf8)
{
    TempHome home;
    home.write(QStringLiteral("a.ini"), cp932(QStringLiteral("; 設定\r\n[Tidy]\r\nDir=/x\r\n")));
    IniFile ini(home.file(QStringLiteral("a.ini")));
    const QString value = QStringLiteral("/home/😀/한국어/€");
    ASSERT_TRUE(ini.writeString(QStringLiteral("Tidy"), QStringLiteral("Dir"), value));
    EXPECT_EQ(home.read(QStringLiteral("a.ini")),
              QStringLiteral("; 設定\r\n[Tidy]\r\nDir=%1\r\n").arg(value).toUtf8());
    EXPECT_EQ(ini.readString(QStringLiteral("Tidy"), QStringLiteral("Dir"), QString()), value);

    // A file that is UTF-8 stays UTF-8 when later values would fit CP932.
    ASSERT_TRUE(
        ini.writeString(QStringLiteral("Tidy"), QStringLiteral("Path"), QStringLiteral("整形")));
    EXPECT_TRUE(TextCodec::isValidUtf8(home.read(QStringLiteral("a.ini"))));
    EXPECT_EQ(ini.readString(QStringLiteral("Tidy"), QStringLiteral("Dir"), QString()), value);

    // So does a marked one, mark included.
    home.write(QStringLiteral("menu.ini"), QByteArray("\xEF\xBB\xBF[Document Popup Menu]\r\n"));
    IniFile menu(home.file(QStringLiteral("menu.ini")));
    ASSERT_TRUE(menu.writeString(QStringLiteral("Document Popup Menu"),
                                 QStringLiteral("Item, Velmarin"), QStringLiteral("実行")));
    EXPECT_EQ(home.read(QStringLiteral("menu.ini")),
              QByteArray("\xEF\xBB\xBF") +
                  QStringLiteral("[Document Popup Menu]\r\nItem, Velmarin=実行\r\n").toUtf8());
}

TEST(IniFile, NumbersAndBooleansReadLikeDelphi)
{
    TempHome home;
    home.write(QStringLiteral("n.ini"), QByteArray("[N]\n"
                                                   "dec= 42 \n"
                                                   "neg=-2147483648\n"
                                                   "hex=$1F\n"
                                                   "cx=0x10\n"
                                                   "allbits=$FFFFFFFF\n"
                                                   "big=2147483648\n"
                                                   "float=1.5\n"
                                                   "word=true\n"
                                                   "empty=\n"
                                                   "quoted=\"7\"\n"
                                                   "two=2\n"
                                                   "zero=0\n"));
    const IniFile ini(home.file(QStringLiteral("n.ini")));
    const QString n = QStringLiteral("N");
    const struct {
        const char *key;
        int expected;
    } rows[] = {{"dec", 42},     {"neg", -2147483647 - 1},
                {"hex", 31},     {"cx", 16},
                {"allbits", -1}, {"big", -5},
                {"float", -5},   {"word", -5},
                {"empty", -5},   {"quoted", 7},
                {"missing", -5}};
    for (const auto &row : rows)
        EXPECT_EQ(ini.readInt(n, QString::fromLatin1(row.key), -5), row.expected) << row.key;

    EXPECT_TRUE(ini.readBool(n, QStringLiteral("two"), false));
    EXPECT_FALSE(ini.readBool(n, QStringLiteral("zero"), true));
    // "true" is not a number: the default decides.
    EXPECT_FALSE(ini.readBool(n, QStringLiteral("word"), false));
    EXPECT_TRUE(ini.readBool(n, QStringLiteral("word"), true));
}

TEST(IniFile, FailedWritesLeaveTheFileAsItWas)
{
    TempHome home;
    home.write(QStringLiteral("plain"), QByteArray("not a folder"));

    // The parent folder cannot exist: it is a file.
    IniFile blocked(home.file(QStringLiteral("plain/Velmarin.ini")));
    EXPECT_FALSE(
        blocked.writeString(QStringLiteral("Tidy"), QStringLiteral("Dir"), QStringLiteral("x")));
    EXPECT_TRUE(blocked.errorString().contains(QStringLiteral("Velmarin.ini")));
    EXPECT_EQ(home.read(QStringLiteral("plain")), QByteArray("not a folder"));

    // A path that cannot be read is never overwritten.
    QDir(home.path()).mkdir(QStringLiteral("folder.ini"));
    IniFile folder(home.file(QStringLiteral("folder.ini")));
    EXPECT_FALSE(folder.writeInt(QStringLiteral("A"), QStringLiteral("b"), 1));
    EXPECT_FALSE(folder.errorString().isEmpty());
    EXPECT_TRUE(QFileInfo(folder.path()).isDir());

    const QByteArray old("[Tidy]\r\nDir=/old\r\n");
    home.write(QStringLiteral("a.ini"), old);
    IniFile ini(home.file(QStringLiteral("a.ini")));
    EXPECT_FALSE(ini.writeString(QStringLiteral("Tidy"), QStringLiteral("Dir"),
                                 QStringLiteral("two\r\nlines")));
    EXPECT_FALSE(ini.errorString().isEmpty());

    // The disk fills up halfway through writing the new file.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 512;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written =
        ini.writeString(QStringLiteral("Tidy"), QStringLiteral("Dir"), QString(4096, u'x'));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_FALSE(written);
    EXPECT_TRUE(ini.errorString().contains(QStringLiteral("a.ini")));
    EXPECT_EQ(home.read(QStringLiteral("a.ini")), old);

    // A later success clears the message.
    EXPECT_TRUE(
        ini.writeString(QStringLiteral("Tidy"), QStringLiteral("Dir"), QStringLiteral("/new")));
    EXPECT_TRUE(ini.errorString().isEmpty());
}
