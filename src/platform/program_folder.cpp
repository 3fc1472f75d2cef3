#include "program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString withoutTrailingSlash(const QString &folder)
{
    QString cleaned = QDir::cleanPath(folder);
    if (cleaned.size() > 1 && cleaned.endsWith(u'/')) cleaned.chop(1);
    return cleaned;
}

QString executableFolder()
{
    if (QCoreApplication::instance()) return QCoreApplication::applicationDirPath();
    // No application object (a test, a tool): ask the kernel.
    const QString exe = QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
    return exe.isEmpty() ? QString() : QFileInfo(exe).absolutePath();
}

bool isWritableFolder(const QString &folder)
{
    const QFileInfo info(folder);
    return info.isDir() && info.isWritable();
}

QString userConfigFolder()
{
    // The XDG rules ignore a relative XDG_CONFIG_HOME.
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/velmarin");
}

QString &workDirOverride()
{
    static QString folder;
    return folder;
}

// Without a trailing separator.
QString currentWorkDir()
{
    return workDirOverride().isEmpty() ? ProgramFolder::file(QStringLiteral("temp"))
                                       : workDirOverride();
}

}  // namespace

namespace ProgramFolder {

QString path()
{
    const QString home = qEnvironmentVariable("VELMARIN_HOME");
    if (!home.isEmpty()) {
        const QString folder = withoutTrailingSlash(QDir(home).absolutePath());
        QDir().mkpath(folder);
        return folder;
    }
    const QString exeFolder = executableFolder();
    if (!exeFolder.isEmpty() && isWritableFolder(exeFolder)) return withoutTrailingSlash(exeFolder);
    const QString folder = withoutTrailingSlash(userConfigFolder());
    QDir().mkpath(folder);
    return folder;
}

QString file(const QString &name)
{
    const QString folder = path();
    return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

bool isWritable()
{
    return isWritableFolder(path());
}

QString iniPath()
{
    return file(QStringLiteral("Velmarin.ini"));
}

QString tidyConfigPath()
{
    return file(QStringLiteral("Velmarin.txt"));
}

QString keyIniPath()
{
    return file(QStringLiteral("key.ini"));
}

QString urlListPath()
{
    return file(QStringLiteral("URLList.txt"));
}

QString workDir()
{
    const QString folder = currentWorkDir();
    if (!QFileInfo(folder).isDir()) QDir().mkpath(folder);
    return folder + u'/';
}

QString workDirProblem()
{
    const QString folder = currentWorkDir();
    if (!QFileInfo(folder).isDir()) QDir().mkpath(folder);
    if (isWritableFolder(folder)) return QString();
    if (!isWritable())
        return QStringLiteral("プログラムフォルダ「%1」に書き込めません。").arg(path());
    return QStringLiteral("作業フォルダ「%1」に書き込めません。").arg(folder);
}

void useWorkDir(const QString &folder)
{
    workDirOverride() = folder.isEmpty() ? QString() : withoutTrailingSlash(folder);
}

void emptyWorkDir()
{
    // Not workDir(): there is no point creating the folder only to empty it.
    const QDir folder(currentWorkDir());
    if (!folder.exists()) return;
    // System takes in broken symbolic links; a link is removed, never its target.
    const QStringList names =
        folder.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &name : names) QFile::remove(folder.filePath(name));
}

}  // namespace ProgramFolder
