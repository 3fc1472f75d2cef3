// Loading and saving the settings files, as a first start and as later starts.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "app/app_settings.h"
#include "app/settings_store.h"
#include "platform/ini_file.h"
#include "platform/program_folder.h"
#include "platform/text_codec.h"
#include "support/recording_view.h"
#include "support/temp_home.h"

namespace {

// PATH replaced for the life of the object, so "tidy on PATH" can be taken away.
class ScopedPath {
public:
    explicit ScopedPath(const QByteArray &path) : m_old(qgetenv("PATH")) { qputenv("PATH", path); }
    ~ScopedPath() { qputenv("PATH", m_old); }

private:
    QByteArray m_old;
};

QStringList iniLines(const TempHome &home)
{
    return TextCodec::splitLines(TextCodec::decode(home.read(QStringLiteral("Velmarin.ini"))));
}

}  // namespace

TEST(SettingsStore, FirstStartWritesAllThreeFilesAndFindsTidyOnPath)
{
    TempHome home;
    AppSettings settings;
    RecordingView view;
    SettingsStore store(settings, view);
    store.load();

    const QString tidy = QStandardPaths::findExecutable(QStringLiteral("tidy"));
    ASSERT_FALSE(tidy.isEmpty());
    EXPECT_EQ(settings.tidyPath, tidy);
    EXPECT_TRUE(view.enabled.value(Control::TidyToolButtons));
    EXPECT_TRUE(view.enabled.value(Control::TidyMenuItems));

    const QStringList config =
        TextCodec::splitLines(TextCodec::decode(home.read(QStringLiteral("Velmarin.txt"))));
    EXPECT_EQ(config.size(), 66);
    EXPECT_TRUE(config.contains(QStringLiteral("input-encoding:latin0")));

    const QStringList ini = iniLines(home);
    for (const QString &line :
         {QStringLiteral("Path=") + tidy, QStringLiteral("Open=0"), QStringLiteral("SubDir=0"),
          QStringLiteral("Charset=(detect automatically)"), QStringLiteral("Verbose=1"),
          QStringLiteral("Charset=Shift_JIS"), QStringLiteral("TextBrowser=0"),
          QStringLiteral("Profile=CSS version 2"), QStringLiteral("Medium=all")})
        EXPECT_TRUE(ini.contains(line)) << line.toStdString();
    EXPECT_TRUE(home.read(QStringLiteral("Velmarin.ini")).contains("\r\n"));

    IniFile keys(home.file(QStringLiteral("key.ini")));
    EXPECT_EQ(keys.keys(QStringLiteral("Key")).size(), 16);
    EXPECT_EQ(keys.readString(QStringLiteral("Key"), QStringLiteral("Tidy"), QString()),
              QStringLiteral("F9"));
    EXPECT_TRUE(keys.hasKey(QStringLiteral("Key"), QStringLiteral("Gray")));
}

TEST(SettingsStore, WithoutAnyTidyTheToolbarButtonsAreDisabled)
{
    TempHome home;
    ScopedPath path(QFile::encodeName(home.path()));
    AppSettings settings;
    RecordingView view;
    SettingsStore store(settings, view);
    store.load();
    EXPECT_TRUE(settings.tidyPath.isEmpty());
    EXPECT_FALSE(view.enabled.value(Control::TidyToolButtons, true));
    EXPECT_FALSE(view.enabled.value(Control::TidyMenuItems, true));  // set by the save
}

TEST(SettingsStore, AVanishedTidyFallsBackToTheOneBesideTheProgram)
{
    TempHome home;
    home.write(QStringLiteral("tidy"), "#!/bin/sh\n");
    QFile::setPermissions(home.file(QStringLiteral("tidy")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    home.write(QStringLiteral("Velmarin.ini"),
               "[Tidy]\r\nPath=/nowhere/tidy\r\n[Editor]\r\nPath=/nowhere/editor\r\n");
    AppSettings settings;
    RecordingView view;
    SettingsStore store(settings, view);
    store.load();
    EXPECT_EQ(settings.tidyPath, home.file(QStringLiteral("tidy")));
    EXPECT_EQ(IniFile(ProgramFolder::iniPath())
                  .readString(QStringLiteral("Tidy"), QStringLiteral("Path"), QString()),
              home.file(QStringLiteral("tidy")));
    EXPECT_TRUE(settings.editorPath.isEmpty());
    EXPECT_TRUE(view.enabled.value(Control::TidyMenuItems));
}

TEST(SettingsStore, AVanishedTidyWithoutFallbackIsEmptiedAndDisablesTheCommands)
{
    TempHome home;
    ScopedPath path(QFile::encodeName(home.path()));
    home.write(QStringLiteral("Velmarin.ini"), "[Tidy]\r\nPath=/nowhere/tidy\r\n");
    AppSettings settings;
    RecordingView view;
    SettingsStore store(settings, view);
    store.load();
    EXPECT_TRUE(settings.tidyPath.isEmpty());
    EXPECT_FALSE(view.enabled.value(Control::TidyMenuItems, true));
    EXPECT_FALSE(view.enabled.value(Control::TidyToolButtons, true));
}

TEST(SettingsStore, StoredChoicesAndTheirFallbacks)
{
    TempHome home;
    home.write(QStringLiteral("Velmarin.txt"), "wrap:70\r\n");
    // CP932 text, a garbage line and no final line break.
    QByteArray ini;
    TextCodec::toCp932(QStringLiteral("[Markup]\r\nCharset=no such charset\r\n"
                                      "Type=HTML 4.01 Frameset\r\ngarbage without equals\r\n"
                                      "[CSS]\r\nMedium=presentation\r\nWarning=重要なものだけ出力\r\n"
                                      "[WDG]\r\nCharset=nonsense\r\n[Lint]\r\nNumView=0"),
                       &ini);
    home.write(QStringLiteral("Velmarin.ini"), ini);
    AppSettings settings;
    RecordingView view;
    SettingsStore store(settings, view);
    store.load();
    EXPECT_EQ(settings.upload.markupCharset, QStringLiteral("shift_jis (Japanese, Win/Mac)"));
    EXPECT_EQ(settings.upload.markupType, QStringLiteral("HTML 4.01 Frameset"));
    EXPECT_EQ(settings.upload.cssMedium, QStringLiteral("presentation"));
    EXPECT_EQ(settings.upload.cssWarning, QStringLiteral("重要なものだけ出力"));
    EXPECT_EQ(settings.upload.wdgCharset, QStringLiteral("Shift_JIS"));
    EXPECT_FALSE(settings.upload.lintNumView);
    // Keys that are missing from an existing file take their own defaults.
    EXPECT_EQ(settings.upload.lintTextBrowser, 1);
    EXPECT_EQ(settings.upload.cssProfile, QStringLiteral("CSS version 2"));
    // Velmarin.txt existed: it was read, not rewritten.
    EXPECT_EQ(settings.tidy.text(QStringLiteral("wrap")), QStringLiteral("70"));
    EXPECT_EQ(home.read(QStringLiteral("Velmarin.txt")), QByteArray("wrap:70\r\n"));
    // The garbage line survives the next save.
    store.save();
    EXPECT_TRUE(home.read(QStringLiteral("Velmarin.ini")).contains("garbage without equals"));
}

TEST(SettingsStore, SavingAnInvalidTidyPathStoresItEmpty)
{
    TempHome home;
    AppSettings settings;
    RecordingView view;
    SettingsStore store(settings, view);
    store.load();
    settings.tidyPath = home.file(QStringLiteral("gone"));
    EXPECT_TRUE(store.save());
    EXPECT_TRUE(settings.tidyPath.isEmpty());
    EXPECT_FALSE(view.enabled.value(Control::TidyMenuItems, true));
    EXPECT_EQ(IniFile(ProgramFolder::iniPath())
                  .readString(QStringLiteral("Tidy"), QStringLiteral("Path"), QStringLiteral("x")),
              QString());
}

TEST(SettingsStore, AnUnwritableProgramFolderIsReportedOnce)
{
    TempHome home;
    // The program folder lies below a regular file: nothing can be created there.
    home.write(QStringLiteral("blocker"), "x");
    qputenv("VELMARIN_HOME", QFile::encodeName(home.file(QStringLiteral("blocker/sub"))));
    AppSettings settings;
    RecordingView view;
    SettingsStore store(settings, view);
    store.load();
    EXPECT_EQ(view.errors.size(), 1);
    EXPECT_FALSE(settings.tidyPath.isEmpty());  // the values are still usable
}

TEST(SettingsStore, TidyPathChangesAndTheBrowseRuleSetTheTidyCommands)
{
    TempHome home;
    AppSettings settings;
    RecordingView view;
    SettingsStore store(settings, view);
    store.load();
    const QString tidy = settings.tidyPath;
    ASSERT_FALSE(tidy.isEmpty());

    // Every change of the field: enabled exactly while it names a file.
    store.setTidyPath(home.file(QStringLiteral("typo")));
    EXPECT_FALSE(view.enabled.value(Control::TidyMenuItems, true));
    EXPECT_FALSE(view.enabled.value(Control::TidyToolButtons, true));
    store.setTidyPath(tidy);
    EXPECT_TRUE(view.enabled.value(Control::TidyMenuItems));
    EXPECT_TRUE(view.enabled.value(Control::TidyToolButtons));

    // After browsing: an empty editor path does not block the Tidy run (the
    // desktop's default application opens the page), a broken one does.
    store.afterTidyBrowse(QString());
    EXPECT_TRUE(view.enabled.value(Control::TidyMenuItems));
    store.afterTidyBrowse(home.file(QStringLiteral("no-editor")));
    EXPECT_FALSE(view.enabled.value(Control::TidyMenuItems, true));
    EXPECT_FALSE(view.enabled.value(Control::TidyToolButtons, true));
    store.afterTidyBrowse(tidy);  // any existing file will do as the editor
    EXPECT_TRUE(view.enabled.value(Control::TidyToolButtons));
    store.setTidyPath(QString());
    store.afterTidyBrowse(tidy);
    EXPECT_FALSE(view.enabled.value(Control::TidyMenuItems, true));
}
