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
    const QString folder = file(QStringLiteral("temp"));
    if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder)) return QString();
    return folder + u'/';
}

void emptyWorkDir()
{
    // Not workDir(): there is no point creating the folder only to empty it.
    const QDir folder(file(QStringLiteral("temp")));
    if (!folder.exists()) return;
    // System takes in broken symbolic links; a link is removed, never its target.
    const QStringList names =
        folder.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &name : names) QFile::remove(folder.filePath(name));
}

}  // namespace ProgramFolder
