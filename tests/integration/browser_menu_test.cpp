// The right-click menu entries of Internet Explorer and Opera: what the
// add/remove buttons write, refuse and say, against a temporary program
// folder, Opera executables that print a version, and real menu files.
#include "integration/browser_menu_ie.h"
#include "integration/browser_menu_opera.h"
#include "platform/registry_store.h"
#include "support/recording_prompts.h"
#include "support/test.h"

namespace {

const QString kProgram = QStringLiteral("/opt/velmarin/bin/velmarin");
const QByteArray kEntry =
    "Item, Velmarin=Execute program, \"/opt/velmarin/bin/velmarin\", \"/op %u\"";
const QString kUnknown =
    QStringLiteral("Operaのバージョン取得に失敗しました。もう一度組み込みを行ってみてください。");
const QString kTooOld = QStringLiteral("組み込むにはOpera7以上が必要です。Opera Ver: 6.05");
const QString kNoInteger = QStringLiteral("'' is not a valid integer value");
const QString kMenuMissing = QStringLiteral(
    "設定に必要なファイル「standard_menu.ini」がありません。\n"
    "他の場所にある場合は指定してください。");
const QString kAdded = QStringLiteral("Operaの右クリックメニューに組みこみました。");

// "メニュー" and "保存" in CP932, a commented-out entry and one of another menu.
const QByteArray kCp932Menu = readWholeFile(testDataPath("browser_menu_cp932.ini"));

// An Opera whose --version prints `output`, with `menu` beside it unless it
// is null; remembered as [Opera] Path when asked.
QString fakeOpera(const TempHome &home, const QByteArray &output, const QByteArray &menu,
                  bool remember = true)
{
    const QString opera = home.script("opera/opera", "printf '%s' '" + output + "'\n");
    if (!menu.isNull()) home.write("opera/defaults/standard_menu.ini", menu);
    if (remember) IniFile(ProgramFolder::iniPath()).writeString("Opera", "Path", opera);
    return opera;
}

QString menuPath(const TempHome &home)
{
    return home.file("opera/defaults/standard_menu.ini");
}

QString velmarinIni(const char *key)
{
    return IniFile(ProgramFolder::iniPath()).readString("Opera", QLatin1String(key), "(none)");
}

}  // namespace

TEST(IeMenu, RegistryKeyAndScriptPage)
{
    TempHome home;
    RegistryStore registry;
    RecordingPrompts prompts;
    const QString key = IeMenu::key();
    EXPECT_EQ(key, "HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\MenuExt\\Velmarin");
    EXPECT_EQ(states(ieMenuButtonStates()), "add/-");

    // Another page's key keeps the buttons; adding overwrites all three values.
    ASSERT_TRUE(registry.setValues(
        key, {RegistryStore::stringValue({}, "C:\\other\\x.html"),
              RegistryStore::dwordValue("Contexts", 0x22), RegistryStore::dwordValue("Flags", 1)}));
    ASSERT_TRUE(registry.setValues(key + "\\Sub", {RegistryStore::stringValue("a", "b")}));
    EXPECT_EQ(states(ieMenuButtonStates()), "keep");
    home.write("VelmarinExe.html", "old page");
    EXPECT_EQ(states(IeMenu::add(prompts, kProgram)), "-/remove");
    QString page;
    quint32 contexts = 0, flags = 7;
    EXPECT_TRUE(registry.readString(key, {}, &page) &&
                registry.readDword(key, "contexts", &contexts) &&
                registry.readDword(key, "Flags", &flags));
    EXPECT_EQ(page, home.file("VelmarinExe.html"));
    EXPECT_EQ(contexts, 1u);
    EXPECT_EQ(flags, 0u);
    EXPECT_EQ(home.read("VelmarinExe.html"),
              readWholeFile(testDataPath("browser_menu_ie_page.html")));
    EXPECT_EQ(states(ieMenuButtonStates()), "-/remove");
    EXPECT_TRUE(prompts.notices.isEmpty());

    // A path with spaces stays one word for the shell; Japanese stays CP932.
    EXPECT_EQ(IeMenu::scriptPage(QStringLiteral("/opt/ヴェル marin/velmarin")).split('\n').at(3),
              "WSH.Run \"\"\"/opt/\x83\x94\x83\x46\x83\x8B marin/velmarin\"\" -ie \" + "
              "external.menuArguments.document.Url\r");

    // Removing takes the key and the keys below it; the page stays.
    EXPECT_EQ(states(IeMenu::remove(prompts)), "add/-");
    EXPECT_FALSE(registry.keyExists(key) || registry.keyExists(key + "\\sub"));
    EXPECT_TRUE(QFile::exists(home.file("VelmarinExe.html")));
    EXPECT_EQ(states(ieMenuButtonStates()), "add/-");
    EXPECT_EQ(states(IeMenu::remove(prompts)), "add/-");  // nothing to remove

    // A store that cannot be written: the open failure, buttons stay.
    QFile::remove(home.file("Registry.ini"));
    QDir().mkpath(home.file("Registry.ini"));
    EXPECT_EQ(states(IeMenu::add(prompts, kProgram)), "stays");
    ASSERT_EQ(prompts.notices.size(), 1);
    EXPECT_TRUE(prompts.notices.at(0).startsWith("レジストリキーのオープンに失敗しました。\n"));
}

TEST(IeMenu, RegistryStoreKeepsOtherKeysAndReadsNumbersStrictly)
{
    TempHome home;
    const QByteArray other = "; mine\r\n[HKEY_LOCAL_MACHINE\\Software\\X]\r\n@=kept\r\n";
    home.write("Registry.ini", other);
    RegistryStore registry;
    ASSERT_TRUE(registry.createKey("HKEY_CURRENT_USER\\A"));
    ASSERT_TRUE(registry.deleteKey("HKEY_CURRENT_USER\\A"));
    EXPECT_EQ(home.read("Registry.ini"), other);
    EXPECT_FALSE(registry.createKey("bad]key"));

    struct Case {
        const char *text;
        bool ok;
        quint32 value;
    };
    for (const Case &c :
         {Case{"dword:00000001", true, 1}, Case{"DWORD:ffffffff", true, 0xffffffffu},
          Case{"dword:", false, 0}, Case{"dword:123456789", false, 0}, Case{"dword:12g", false, 0},
          Case{"dword:１", false, 0}, Case{"1", false, 0}}) {
        quint32 v = 0;
        EXPECT_EQ(RegistryStore::parseDword(QString::fromUtf8(c.text), &v), c.ok) << c.text;
        EXPECT_EQ(c.ok ? v : 0u, c.value) << c.text;
    }
}

TEST(OperaMenu, VersionRules)
{
    struct Case {
        const char *version;
        QString message;
    };
    for (const Case &c :
         {Case{"12.16", {}}, Case{"7.0", {}}, Case{"114.0.5282.21", {}}, Case{"6.05", kTooOld},
          Case{"7", kNoInteger}, Case{"", kNoInteger}, Case{"abc", kNoInteger},
          Case{"x.5", "'x' is not a valid integer value"}, Case{"UnKnown", kUnknown}})
        EXPECT_EQ(OperaMenu::versionProblem(QString::fromUtf8(c.version)), c.message) << c.version;

    struct Output {
        QByteArray printed;
        const char *version;
    };
    for (const Output &o : {Output{"Opera 12.16 Build 1860 for Linux\n", "12.16"},
                            Output{"114.0.5282.21\n", "114.0.5282.21"}, Output{"Opera 7\n", "7"},
                            Output{"", "UnKnown"}, Output{"abc", "UnKnown"},
                            Output{QByteArray(100000, 'x') + "9.5", "UnKnown"}})
        EXPECT_EQ(OperaMenu::versionFromOutput(o.printed), QString::fromUtf8(o.version));

    TempHome home;
    EXPECT_EQ(OperaMenu::productVersion(fakeOpera(home, "no number", {}, false)), "UnKnown");
    EXPECT_EQ(OperaMenu::productVersion(home.file("no-such-opera")), "");
}

TEST(OperaMenu, AddWritesOnlyTheEntry)
{
    const QByteArray longLine = "[Document Popup Menu]\r\nItem, Long=" + QByteArray(200000, 'L');
    struct Case {
        QByteArray version, menu, after;
    };
    for (const Case &c :
         {Case{"Opera 12.16", kCp932Menu,
               QByteArray(kCp932Menu)
                   .replace("document\r\n\r\n", "document\r\n" + kEntry + "\r\n\r\n")},
          Case{"12.16", longLine + "\r\n", longLine + "\r\n" + kEntry + "\r\n"}}) {
        SCOPED_TRACE(c.version.constData());
        TempHome home;
        const QString opera = fakeOpera(home, c.version, c.menu);
        RecordingPrompts prompts;
        EXPECT_EQ(states(OperaMenu::add(prompts, kProgram)), "-/remove");
        EXPECT_EQ(prompts.notices, QStringList{kAdded});
        EXPECT_EQ(home.read("opera/defaults/standard_menu.ini"), c.after);
        EXPECT_EQ(velmarinIni("Path"), opera);
        EXPECT_EQ(velmarinIni("OptionFile"), menuPath(home));
        EXPECT_EQ(states(operaMenuButtonStates(OperaMenu::rememberedMenuFile())), "-/remove");
    }
}

TEST(OperaMenu, AddAsksWhatItCannotFind)
{
    TempHome home;
    const EnvGuard path{{"PATH", QFile::encodeName(home.file("bin"))}};  // no opera anywhere

    // No Opera known and the user cancels: one message, nothing written.
    RecordingPrompts cancel;
    EXPECT_EQ(states(OperaMenu::add(cancel, kProgram)), "stays");
    EXPECT_EQ(cancel.notices,
              QStringList{"Opera.exeを見つけることができませんでした。場所を指定してください。"});
    EXPECT_EQ(cancel.filters.size(), 1);
    EXPECT_FALSE(QFile::exists(ProgramFolder::iniPath()));

    // Opera chosen, its menu file elsewhere and chosen too.
    home.write("menus/standard_menu.ini", "[Document Popup Menu]\r\n");
    RecordingPrompts choose;
    choose.answers = {fakeOpera(home, "Opera 12.16", {}, false),
                      home.file("menus/standard_menu.ini")};
    EXPECT_EQ(states(OperaMenu::add(choose, kProgram)), "-/remove");
    EXPECT_EQ(choose.notices.mid(1), (QStringList{kMenuMissing, kAdded}));
    EXPECT_EQ(choose.filters.at(1), "standard_menu.ini (standard_menu.ini)");
    EXPECT_EQ(velmarinIni("OptionFile"), home.file("menus/standard_menu.ini"));

    // The menu file dialog cancelled: Path is stored, nothing else.
    RecordingPrompts noMenu;
    QFile::remove(home.file("menus/standard_menu.ini"));
    EXPECT_EQ(states(OperaMenu::add(noMenu, kProgram)), "stays");
    EXPECT_EQ(noMenu.notices, QStringList{kMenuMissing});

    // An Opera on PATH through a symbolic link: its menu file is beside the program.
    QFile::remove(ProgramFolder::iniPath());
    const QString real = fakeOpera(home, "Opera 12.16", kCp932Menu, false);
    ASSERT_TRUE(QDir().mkpath(home.file("bin")) && QFile::link(real, home.file("bin/opera")));
    RecordingPrompts linked;
    EXPECT_EQ(states(OperaMenu::add(linked, kProgram)), "-/remove");
    EXPECT_EQ(linked.notices, QStringList{kAdded});
    EXPECT_EQ(velmarinIni("OptionFile"), menuPath(home));

    // A remembered Opera that is refused offers the dialog, and its menu file
    // stays as it was; only the accepted one is remembered.
    const QString old = home.script("old/opera", "printf 'Opera 6.05'\n");
    home.write("old/defaults/standard_menu.ini", kCp932Menu);
    IniFile(ProgramFolder::iniPath()).writeString("Opera", "Path", old);
    RecordingPrompts refused;
    EXPECT_EQ(states(OperaMenu::add(refused, kProgram)), "stays");
    EXPECT_EQ(refused.filters.size(), 1);
    refused.answers = {real};
    EXPECT_EQ(states(OperaMenu::add(refused, kProgram)), "-/remove");
    EXPECT_EQ(refused.notices, (QStringList{kTooOld, kTooOld, kAdded}));
    EXPECT_EQ(home.read("old/defaults/standard_menu.ini"), kCp932Menu);
    EXPECT_EQ(velmarinIni("Path"), real);
}

TEST(OperaMenu, RunningOperaIsAskedToRestart)
{
    TempHome home;
    // A copy of sleep is an Opera that runs and says "sleep (GNU coreutils) 9.1".
    const QString opera = fakeOpera(home, "", kCp932Menu);
    ASSERT_TRUE(QFile::remove(opera) && QFile::copy(QStringLiteral("/bin/sleep"), opera));
    EXPECT_FALSE(OperaMenu::isRunning(opera));
    QProcess running;
    running.start(opera, {"60"});
    ASSERT_TRUE(running.waitForStarted());
    EXPECT_TRUE(OperaMenu::isRunning(opera));
    RecordingPrompts prompts;
    EXPECT_EQ(states(OperaMenu::add(prompts, kProgram)), "-/remove");
    EXPECT_EQ(prompts.notices, QStringList{"Operaが起動しているので、組み込みを有効にするために"
                                           "一度Operaを再起動してください。"});
    EXPECT_TRUE(IniFile(menuPath(home)).hasKey("Document Popup Menu", "Item, Velmarin"));
    running.kill();
    running.waitForFinished();
}

TEST(OperaMenu, RemoveTakesEveryCopyAndNothingElse)
{
    const QByteArray twice =
        "; keep\r\n[Document Popup Menu]\r\nItem, Velmarin=a\r\nItem, Back=Back\r\n"
        "ITEM, VELMARIN=b\r\n[Link Popup Menu]\r\nItem, Velmarin=c\r\n";
    const QByteArray removed =
        "; keep\r\n[Document Popup Menu]\r\nItem, Back=Back\r\n"
        "[Link Popup Menu]\r\nItem, Velmarin=c\r\n";
    // The menu file known as [Opera] OptionFile, or the one beside the remembered Opera.
    for (const bool remembered : {true, false}) {
        TempHome home;
        fakeOpera(home, "12.16", twice, !remembered);
        if (remembered)
            IniFile(ProgramFolder::iniPath()).writeString("Opera", "OptionFile", menuPath(home));
        RecordingPrompts prompts;
        EXPECT_EQ(states(OperaMenu::remove(prompts)), "add/-");
        EXPECT_EQ(home.read("opera/defaults/standard_menu.ini"), removed);
        EXPECT_EQ(prompts.notices, QStringList{"組み込みを解除しました。"});
    }

    // No menu file known and the dialog cancelled: the message, nothing more.
    TempHome home;
    RecordingPrompts prompts;
    EXPECT_EQ(states(OperaMenu::remove(prompts)), "stays");
    EXPECT_EQ(prompts.notices, QStringList{kMenuMissing});
    EXPECT_FALSE(QFile::exists(ProgramFolder::iniPath()));
}

TEST(OperaMenu, ReadOnlyMenuFileIsLeftAlone)
{
    TempHome home;
    fakeOpera(home, "12.16", kCp932Menu);
    QFile::setPermissions(menuPath(home), QFile::ReadOwner | QFile::ReadGroup);
    RecordingPrompts prompts;
    EXPECT_EQ(states(OperaMenu::add(prompts, kProgram)), "stays");
    ASSERT_EQ(prompts.notices.size(), 1);
    EXPECT_TRUE(prompts.notices.at(0).contains(QDir::toNativeSeparators(menuPath(home))));
    EXPECT_EQ(home.read("opera/defaults/standard_menu.ini"), kCp932Menu);
    EXPECT_EQ(velmarinIni("OptionFile"), "(none)");
}

TEST(OperaMenu, ButtonsFollowTheEntryInItsMenuFile)
{
    TempHome home;
    home.write("other.ini", kCp932Menu);  // the entry only in another menu
    home.write("ours.ini", "[document popup menu]\r\nitem, velmarin=x\r\n");
    const std::pair<QString, std::string> cases[] = {
        {QString(), "add/-"},
        {home.file("gone.ini"), "add/-"},
        {home.path(), "add/-"},  // a folder is no menu file
        {home.file("other.ini"), "add/-"},
        {home.file("ours.ini"), "-/remove"},
    };
    for (const auto &[file, expected] : cases)
        EXPECT_EQ(states(operaMenuButtonStates(file)), expected) << file.toStdString();
}
