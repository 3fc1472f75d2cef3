// Loading and saving the settings files, as a first start and as later starts.
#include "core/settings_store.h"

#include <sys/inotify.h>
#include <unistd.h>

#include "core/app_settings.h"
#include "support/test.h"

namespace {

// The settings files that appeared in the folder watched by `fd` under their
// own name since the last call: renamed over the old one (a replacement
// through a temporary file) or created there.
QStringList appeared(int fd)
{
    QStringList names;
    alignas(inotify_event) char buffer[64 * 1024];
    for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;) {
        for (char *p = buffer; p < buffer + n;) {
            const auto *event = reinterpret_cast<const inotify_event *>(p);
            const QString name = QFile::decodeName(event->len ? event->name : "");
            if (QStringList{"Velmarin.ini", "Velmarin.txt", "key.ini"}.contains(name))
                names << name;
            p += sizeof(inotify_event) + event->len;
        }
    }
    names.sort();
    return names;
}

class SettingsStoreTest : public ::testing::Test {
protected:
    // Both the Tidy menu entries and toolbar buttons are in the state `on`.
    bool tidyCommandsAre(bool on) const
    {
        return view.enabled.value(Control::TidyMenuItems, !on) == on &&
               view.enabled.value(Control::TidyToolButtons, !on) == on;
    }
    QString storedTidyPath() const
    {
        return IniFile(ProgramFolder::iniPath()).readString("Tidy", "Path", "(none)");
    }

    TempHome home;
    AppSettings settings;
    RecordingView view;
    SettingsStore store{settings, view};
};

}  // namespace

TEST_F(SettingsStoreTest, FirstStartWritesAllThreeFilesAndFindsTidyOnPath)
{
    // Each file of a first start, and of every later save, is one
    // replacement: a program stopped at any moment leaves it whole or absent.
    const QStringList onceEach{"Velmarin.ini", "Velmarin.txt", "key.ini"};
    const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    inotify_add_watch(watch, QFile::encodeName(home.path()).constData(), IN_MOVED_TO | IN_CREATE);
    store.load();
    EXPECT_EQ(appeared(watch), onceEach);
    const QString tidy = QStandardPaths::findExecutable("tidy");
    ASSERT_FALSE(tidy.isEmpty());
    EXPECT_EQ(settings.tidyPath, tidy);
    EXPECT_TRUE(tidyCommandsAre(true));

    // The golden file holds the lines written out by hand from the option tables.
    EXPECT_EQ(home.read("Velmarin.txt"), readWholeFile(testDataPath("tidy_first_start.txt")));

    const QStringList ini = TextCodec::splitLines(TextCodec::decode(home.read("Velmarin.ini")));
    for (const QString &line : {"Path=" + tidy, QString("SubDir=0"), QString("Charset=Shift_JIS"),
                                QString("Profile=CSS version 2"), QString("Medium=all")})
        EXPECT_TRUE(ini.contains(line)) << line.toStdString();

    // OK of the settings dialog; then a later start, which writes nothing.
    settings.keys.setValue(9, settings.keys.value(0));
    settings.upload.verbose = false;
    ASSERT_TRUE(store.save());
    EXPECT_EQ(appeared(watch), onceEach);
    settings = AppSettings();
    store.load();
    EXPECT_TRUE(appeared(watch).isEmpty());
    close(watch);
    EXPECT_EQ(settings.keys.value(9), settings.keys.value(0));
}

TEST_F(SettingsStoreTest, AMissingOrVanishedTidyFallsBackToTheOneBesideTheProgramOrToNone)
{
    const EnvGuard noTidy{{"PATH", QFile::encodeName(home.path())}};
    store.load();  // a first start
    EXPECT_TRUE(settings.tidyPath.isEmpty());
    EXPECT_TRUE(tidyCommandsAre(false));

    // A stored Tidy and editor that have vanished, first with nothing to fall
    // back on, then with a Tidy beside the program, which is stored at once.
    for (const bool beside : {false, true}) {
        if (beside) home.script("tidy", "");
        home.write("Velmarin.ini",
                   "[Tidy]\r\nPath=/nowhere/tidy\r\n[Editor]\r\nPath=/nowhere/x\r\n");
        view.enabled.clear();
        store.load();
        EXPECT_EQ(settings.tidyPath, beside ? home.file("tidy") : QString());
        EXPECT_EQ(storedTidyPath(), beside ? home.file("tidy") : "/nowhere/tidy");
        EXPECT_TRUE(tidyCommandsAre(beside));
        EXPECT_TRUE(settings.editorPath.isEmpty());
    }
}

TEST_F(SettingsStoreTest, StoredChoicesAndTheirFallbacks)
{
    home.write("Velmarin.txt", "wrap:70\r\n");
    // CP932 text, a garbage line and no final line break.
    QByteArray ini;
    TextCodec::toCp932(
        "[Tidy]\r\nJapanese=0\r\n[Markup]\r\nCharset=no such charset\r\nType=HTML 4.01 Frameset\r\n"
        "garbage without equals\r\n[CSS]\r\nMedium=presentation\r\n"
        "Warning=重要なものだけ出力\r\n[WDG]\r\nCharset=nonsense\r\n[Lint]\r\nNumView=0",
        &ini);
    home.write("Velmarin.ini", ini);
    store.load();
    const UploadOptions &upload = settings.upload;
    EXPECT_EQ(upload.markupCharset, "shift_jis (Japanese, Win/Mac)");
    EXPECT_EQ(upload.markupType, "HTML 4.01 Frameset");
    EXPECT_EQ(upload.cssMedium, "presentation");
    EXPECT_EQ(upload.cssWarning, "重要なものだけ出力");
    EXPECT_EQ(upload.wdgCharset, "Shift_JIS");
    EXPECT_FALSE(upload.lintNumView);
    // Keys that are missing from an existing file take their own defaults.
    EXPECT_EQ(upload.lintTextBrowser, 1);
    EXPECT_EQ(upload.cssProfile, "CSS version 2");
    EXPECT_FALSE(settings.tidyJapanese);
    // Velmarin.txt existed: it was read, not rewritten.
    EXPECT_EQ(settings.tidy.text("wrap"), "70");
    EXPECT_EQ(home.read("Velmarin.txt"), "wrap:70\r\n");
    // The garbage line survives the next save.
    store.save();
    EXPECT_TRUE(home.read("Velmarin.ini").contains("garbage without equals"));
}

TEST_F(SettingsStoreTest, AnUnwritableProgramFolderIsReportedOnce)
{
    // The program folder lies below a regular file: nothing can be created there.
    home.write("blocker", "x");
    qputenv("VELMARIN_HOME", QFile::encodeName(home.file("blocker/sub")));
    store.load();
    EXPECT_EQ(view.errors.size(), 1);
    EXPECT_FALSE(settings.tidyPath.isEmpty());  // the values are still usable
}

TEST_F(SettingsStoreTest, TidyPathChangesTheBrowseRuleAndSavingAnInvalidPath)
{
    store.load();
    const QString tidy = settings.tidyPath;
    ASSERT_FALSE(tidy.isEmpty());

    // Every change of the field: enabled exactly while it names a file.
    store.setTidyPath(home.file("typo"));
    EXPECT_TRUE(tidyCommandsAre(false));
    store.setTidyPath(tidy);
    EXPECT_TRUE(tidyCommandsAre(true));

    // After browsing: an empty editor path does not block the Tidy run (the
    // desktop's default application opens the page), a broken one does; any
    // existing file will do as the editor.
    for (const auto &[editor, on] :
         {std::pair{QString(), true}, {home.file("no-editor"), false}, {tidy, true}}) {
        store.afterTidyBrowse(editor);
        EXPECT_TRUE(tidyCommandsAre(on)) << editor.toStdString();
    }
    store.setTidyPath(QString());
    store.afterTidyBrowse(tidy);
    EXPECT_TRUE(tidyCommandsAre(false));

    // A path that names nothing is stored empty.
    settings.tidyPath = home.file("gone");
    EXPECT_TRUE(store.save());
    EXPECT_TRUE(settings.tidyPath.isEmpty());
    EXPECT_TRUE(tidyCommandsAre(false));
    EXPECT_EQ(storedTidyPath(), QString());
}
