#include "platform/program_folder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "support/temp_home.h"

namespace {

// Sets or clears one environment variable for the life of the object.
class ScopedEnv {
public:
    ScopedEnv(const char *name, const QString *value)
        : m_name(name), m_old(qgetenv(name)), m_had(qEnvironmentVariableIsSet(name))
    {
        if (value)
            qputenv(name, QFile::encodeName(*value));
        else
            qunsetenv(name);
    }
    ~ScopedEnv()
    {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char *m_name;
    QByteArray m_old;
    bool m_had;
};

}  // namespace

TEST(ProgramFolder, VelmarinHomeWinsAndIsCreated)
{
    TempHome home;
    const QString wanted = home.path() + QStringLiteral("/設定 フォルダ/");
    ScopedEnv env("VELMARIN_HOME", &wanted);

    const QString expected = home.path() + QStringLiteral("/設定 フォルダ");
    EXPECT_EQ(ProgramFolder::path(), expected);
    EXPECT_TRUE(QFileInfo(expected).isDir());
    EXPECT_TRUE(ProgramFolder::isWritable());
    EXPECT_EQ(ProgramFolder::iniPath(), expected + QStringLiteral("/Velmarin.ini"));
    EXPECT_EQ(ProgramFolder::tidyConfigPath(), expected + QStringLiteral("/Velmarin.txt"));
    EXPECT_EQ(ProgramFolder::keyIniPath(), expected + QStringLiteral("/key.ini"));
    EXPECT_EQ(ProgramFolder::urlListPath(), expected + QStringLiteral("/URLList.txt"));
}

TEST(ProgramFolder, WithoutVelmarinHomeAWritableExecutableFolderIsUsed)
{
    ScopedEnv env("VELMARIN_HOME", nullptr);
    // The same folder whether it is asked of the application object or of /proc.
    const QString exeFolder =
        QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/exe"))).absolutePath();
    ASSERT_TRUE(QFileInfo(exeFolder).isWritable());
    EXPECT_EQ(ProgramFolder::path(), exeFolder);
}

TEST(ProgramFolder, WorkDirIsCreatedAndEmptiedOfFilesOnly)
{
    TempHome home;
    ProgramFolder::emptyWorkDir();  // nothing there yet: nothing happens, nothing is created
    EXPECT_FALSE(QFileInfo::exists(home.file(QStringLiteral("temp"))));

    const QString work = ProgramFolder::workDir();
    EXPECT_EQ(work, home.path() + QStringLiteral("/temp/"));
    ASSERT_TRUE(QFileInfo(work).isDir());

    home.write(QStringLiteral("temp/tidy_out.txt"), "out");
    home.write(QStringLiteral("temp/.hidden"), "h");
    home.write(QStringLiteral("temp/sub/inner.txt"), "inner");
    home.write(QStringLiteral("kept.txt"), "outside");
    QFile::link(home.file(QStringLiteral("kept.txt")), work + QStringLiteral("link.txt"));
    QFile::link(home.file(QStringLiteral("gone")), work + QStringLiteral("dangling"));

    ProgramFolder::emptyWorkDir();
    EXPECT_EQ(
        QDir(work).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
        QStringList{QStringLiteral("sub")});
    EXPECT_EQ(home.read(QStringLiteral("temp/sub/inner.txt")), QByteArray("inner"));
    // A link is removed, never what it points at.
    EXPECT_EQ(home.read(QStringLiteral("kept.txt")), QByteArray("outside"));
}

TEST(ProgramFolder, UncreatableWorkDirIsEmpty)
{
    TempHome home;
    // "temp" is taken by a file: the working folder cannot be made.
    home.write(QStringLiteral("temp"), "a file");
    EXPECT_EQ(ProgramFolder::workDir(), QString());
    ProgramFolder::emptyWorkDir();
    EXPECT_EQ(home.read(QStringLiteral("temp")), QByteArray("a file"));

    // The program folder itself cannot exist: its parent is a file.
    const QString impossible = home.file(QStringLiteral("temp/home"));
    ScopedEnv env("VELMARIN_HOME", &impossible);
    EXPECT_EQ(ProgramFolder::path(), impossible);
    EXPECT_FALSE(ProgramFolder::isWritable());
    EXPECT_EQ(ProgramFolder::workDir(), QString());
    ProgramFolder::emptyWorkDir();
}
