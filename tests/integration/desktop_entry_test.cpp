// The desktop's "Open with" entry, registered in a temporary home and checked
// with the desktop's own tools (desktop-file-validate, xdg-mime).
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "integration/desktop_entry.h"
#include "support/recording_prompts.h"
#include "support/temp_home.h"

namespace {

// HOME and the XDG folders pointed into a temporary folder, with no system
// data folders, so only what the test registers is seen.
class TempDesktop {
public:
    TempDesktop()
    {
        for (const char *name : kNames) m_saved << qMakePair(QByteArray(name), qgetenv(name));
        set("HOME", m_dir.path());
        set("XDG_DATA_HOME", m_dir.path() + "/data");
        set("XDG_CONFIG_HOME", m_dir.path() + "/config");
        set("XDG_DATA_DIRS", m_dir.path() + "/system");
        qunsetenv("XDG_CURRENT_DESKTOP");
        QDir().mkpath(m_dir.path() + "/config");
    }
    ~TempDesktop()
    {
        for (const auto &[name, value] : m_saved) {
            if (value.isNull()) qunsetenv(name.constData());
            else qputenv(name.constData(), value);
        }
    }
    QString path(const QString &rest) const { return m_dir.path() + u'/' + rest; }
    static void set(const char *name, const QString &value) { qputenv(name, QFile::encodeName(value)); }

private:
    static constexpr const char *kNames[] = {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME",
                                             "XDG_DATA_DIRS", "XDG_CURRENT_DESKTOP"};
    QTemporaryDir m_dir;
    QList<QPair<QByteArray, QByteArray>> m_saved;
};

QString run(const QString &program, const QStringList &args, int *status = nullptr)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    p.waitForFinished();
    if (status)
        *status = p.exitCode();
    return QString::fromUtf8(p.readAll()).trimmed();
}

}  // namespace

TEST(DesktopEntry, RegisteredEntryIsValidAndOffersVelmarinForHtmlAndCss)
{
    TempHome home;
    TempDesktop desktop;
    const QString program = QStringLiteral("/opt/velmarin/bin/velmarin");
    RecordingPrompts prompts;
    EXPECT_EQ(DesktopEntry::entryPath(), desktop.path("data/applications/velmarin.desktop"));
    EXPECT_EQ(states(DesktopEntry::buttonStates(program)), "add/-");

    EXPECT_EQ(states(DesktopEntry::add(prompts, program)), "-/remove");
    EXPECT_TRUE(prompts.notices.isEmpty());
    int status = -1;
    EXPECT_EQ(run("desktop-file-validate", {DesktopEntry::entryPath()}, &status), "");
    EXPECT_EQ(status, 0);
    EXPECT_EQ(run("xdg-mime", {"query", "default", "text/html"}), "velmarin.desktop");
    EXPECT_EQ(run("xdg-mime", {"query", "default", "text/css"}), "velmarin.desktop");
    EXPECT_EQ(states(DesktopEntry::buttonStates(program)), "-/remove");
    EXPECT_EQ(states(DesktopEntry::buttonStates("/usr/bin/velmarin")), "keep");

    EXPECT_EQ(states(DesktopEntry::remove(prompts)), "add/-");
    EXPECT_FALSE(QFile::exists(DesktopEntry::entryPath()));
    EXPECT_EQ(run("xdg-mime", {"query", "default", "text/html"}), "");
    EXPECT_EQ(states(DesktopEntry::remove(prompts)), "add/-");
    EXPECT_TRUE(prompts.notices.isEmpty());
}

TEST(DesktopEntry, ExecNamesAnyProgramPath)
{
    TempDesktop desktop;
    for (const QString &program : {QStringLiteral("/usr/bin/velmarin"),
                                  QStringLiteral("/home/a b/ヴェル/velmarin"),
                                  QStringLiteral("/tmp/q\"uote's/$HOME/`x`/100%/back\\slash/velmarin")}) {
        const QString text = DesktopEntry::text(program);
        EXPECT_EQ(DesktopEntry::execProgram(text), program);
        QFile f(desktop.path("velmarin.desktop"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text.toUtf8());
        f.close();
        EXPECT_EQ(run("desktop-file-validate", {f.fileName()}), "") << program.toStdString();
    }
    EXPECT_EQ(DesktopEntry::execProgram("[Other]\nExec=x\n[Desktop Entry]\nExec = velmarin %F\n"),
              "velmarin");
    EXPECT_EQ(DesktopEntry::execProgram("Exec=nothing in a group\n"), "");
}

TEST(DesktopEntry, FolderThatCannotBeWrittenLeavesNothingBehind)
{
    TempDesktop desktop;
    // A file where the data folder should be: no folder can be made there,
    // whoever runs the test.
    ASSERT_TRUE(QFile(desktop.path("data")).open(QIODevice::WriteOnly));
    RecordingPrompts prompts;
    EXPECT_EQ(states(DesktopEntry::add(prompts, "/usr/bin/velmarin")), "stays");
    ASSERT_EQ(prompts.notices.size(), 1);
    EXPECT_EQ(prompts.notices.at(0),
              QStringLiteral("フォルダ「%1」に書き込めないため、デスクトップのメニューに組み込めませんでした。")
                  .arg(desktop.path("data/applications")));
    EXPECT_EQ(QDir(desktop.path("")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              (QStringList{"config", "data"}));
}
