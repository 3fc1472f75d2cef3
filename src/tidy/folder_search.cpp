#include "folder_search.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QSet>
#include <dirent.h>

namespace {

const QDir::SortFlags kOrder = QDir::Name | QDir::LocaleAware;

class Collector {
public:
    explicit Collector(bool recurse) : m_recurse(recurse) {}

    void search(const QString &folder)
    {
        const QFileInfo info(folder);
        const QString real = info.canonicalFilePath();
        if (real.isEmpty() || m_visited.contains(real))
            return;
        m_visited.insert(real);

        const QDir dir(folder);
        if (!dir.isReadable()) {
            result.unreadable << QDir::toNativeSeparators(folder);
            return;
        }
        const QFileInfoList files =
            dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System, kOrder);
        for (const QFileInfo &file : files)
            if (matchesBatchMask(file.fileName()))
                result.files << file.filePath();
        findUndecodableNames(folder);
        if (!m_recurse)
            return;
        const QStringList folders =
            dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, kOrder);
        for (const QString &sub : folders)
            search(dir.filePath(sub));
    }

    FolderSearch result;

private:
    // Names whose bytes are no text in the system's encoding cannot be
    // listed as text, nor handed to Tidy; they are reported instead.
    void findUndecodableNames(const QString &folder)
    {
        DIR *dir = opendir(QFile::encodeName(folder).constData());
        if (dir == nullptr)
            return;
        while (const dirent *entry = readdir(dir)) {
            const QByteArray raw(entry->d_name);
            const QString name = QFile::decodeName(raw);
            if (QFile::encodeName(name) != raw && matchesBatchMask(name) &&
                !QFileInfo(QDir(folder).filePath(name)).isDir())
                result.unreadable << QDir(folder).filePath(name);
        }
        closedir(dir);
    }

    bool m_recurse;
    QSet<QString> m_visited;
};

}  // namespace

bool matchesBatchMask(const QString &name)
{
    // "*.htm*": anything, ".htm", anything; so "a.html" and "a.htm.bak" alike.
    return name.contains(QLatin1String(".htm"), Qt::CaseInsensitive);
}

FolderSearch collectFiles(const QString &folder, bool recurse)
{
    Collector collector(recurse);
    collector.search(folder);
    return collector.result;
}
