#include "support/test.h"

// Each test owns a TempHome, which puts VELMARIN_HOME back however the test changed it.

TEST(ProgramFolder, VelmarinHomeWinsAndIsCreatedElseTheExecutablesFolder)
{
    TempHome home;
    qputenv("VELMARIN_HOME", QFile::encodeName(home.path() + "/設定 フォルダ/"));
    const QString expected = home.path() + "/設定 フォルダ";
    EXPECT_EQ(ProgramFolder::path(), expected);
    EXPECT_TRUE(QFileInfo(expected).isDir());
    EXPECT_TRUE(ProgramFolder::isWritable());

    // Without it, the executable's folder, when it can be written.
    qunsetenv("VELMARIN_HOME");
    // The same folder whether it is asked of the application object or of /proc.
    const QString exeFolder = QFileInfo(QFile::symLinkTarget("/proc/self/exe")).absolutePath();
    ASSERT_TRUE(QFileInfo(exeFolder).isWritable());
    EXPECT_EQ(ProgramFolder::path(), exeFolder);
}

TEST(ProgramFolder, WorkDirIsCreatedAndEmptiedOfFilesOnly)
{
    TempHome home;
    ProgramFolder::emptyWorkDir();  // nothing there yet: nothing happens, nothing is created
    EXPECT_FALSE(QFileInfo::exists(home.file("temp")));

    const QString work = ProgramFolder::workDir();
    EXPECT_EQ(work, home.path() + "/temp/");
    ASSERT_TRUE(QFileInfo(work).isDir());
    home.write("temp/tidy_out.txt", "out");
    home.write("temp/.hidden", "h");
    home.write("temp/sub/inner.txt", "inner");
    home.write("kept.txt", "outside");
    QFile::link(home.file("kept.txt"), work + "link.txt");
    QFile::link(home.file("gone"), work + "dangling");

    ProgramFolder::emptyWorkDir();
    EXPECT_EQ(
        QDir(work).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
        QStringList{"sub"});
    EXPECT_EQ(home.read("temp/sub/inner.txt"), "inner");
    // A link is removed, never what it points at.
    EXPECT_EQ(home.read("kept.txt"), "outside");
}

TEST(ProgramFolder, AWorkDirThatCannotBeMadeIsNamedAndNeverTheCurrentFolder)
{
    TempHome home;
    // "temp" is taken by a file: the working folder cannot be made.
    home.write("temp", "a file");
    EXPECT_EQ(ProgramFolder::workDir(), home.file("temp/"));
    EXPECT_EQ(ProgramFolder::workDirProblem(),
              "作業フォルダ「" + home.file("temp") + "」に書き込めません。");
    ProgramFolder::emptyWorkDir();
    EXPECT_EQ(home.read("temp"), "a file");

    // The program folder itself cannot exist: its parent is a file.
    const QString impossible = home.file("temp/home");
    qputenv("VELMARIN_HOME", QFile::encodeName(impossible));
    EXPECT_EQ(ProgramFolder::path(), impossible);
    EXPECT_FALSE(ProgramFolder::isWritable());
    EXPECT_EQ(ProgramFolder::workDir(), impossible + "/temp/");
    EXPECT_EQ(ProgramFolder::workDirProblem(),
              "プログラムフォルダ「" + impossible + "」に書き込めません。");
    ProgramFolder::emptyWorkDir();
}
