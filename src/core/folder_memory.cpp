#include "folder_memory.h"

#include <QDir>
#include <QFileInfo>

#include "platform/ini_file.h"
#include "platform/program_folder.h"

void FolderMemory::load()
{
    m_lastDir = IniFile(ProgramFolder::iniPath())
                    .readString(QStringLiteral("Tidy"), QStringLiteral("Dir"), QString());
}

void FolderMemory::remember(const QString &name)
{
    QString folder;
    if (name.endsWith(u'/') || name.endsWith(u'\\')) {
        const QString before = name.left(name.size() - 1);
        if (!before.isEmpty() && QFileInfo(before).isDir())
            folder = before;
    } else {
        const QFileInfo info(name);
        if (info.isFile())
            folder = QDir::toNativeSeparators(info.absolutePath());
    }
    if (!folder.isEmpty())
        store(folder);
}

void FolderMemory::store(const QString &folder)
{
    m_lastDir = folder;
    IniFile(ProgramFolder::iniPath()).writeString(QStringLiteral("Tidy"), QStringLiteral("Dir"), folder);
}

QString FolderMemory::startDir() const
{
    return (!m_lastDir.isEmpty() && QFileInfo(m_lastDir).isDir()) ? m_lastDir : QString();
}
