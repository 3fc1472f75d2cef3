#include "folder_search.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QSet>
#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>

namespace {

void sortByName(QStringList *names)
{
    std::sort(names->begin(), names->end(), [](const QString &a, const QString &b) {
        return QString::localeAwareCompare(a, b) < 0;
    });
}

class Collector {
public:
    explicit Collector(bool recurse) : m_recurse(recurse) {}

    void search(const QString &folder)
    {
        const QString real = QFileInfo(folder).canonicalFilePath();
        if (real.isEmpty() || m_visited.contains(real))
            return;
        m_visited.insert(real);

        // One pass over the raw names: a name whose bytes are no text in the
        // system's encoding cannot be handed to Tidy and is reported instead.
        const QByteArray rawFolder = QFile::encodeName(folder) + '/';
        DIR *dir = opendir(rawFolder.constData());
        if (dir == nullptr) {
            result.unreadable << folder;
            return;
        }
        QStringList files;
        QStringList folders;
        while (const dirent *entry = readdir(dir)) {
            const QByteArray raw(entry->d_name);
            if (raw == "." || raw == "..")
                continue;
            struct stat info;
            if (stat((rawFolder + raw).constData(), &info) != 0)
                continue;
            const QString name = QFile::decodeName(raw);
            if (S_ISDIR(info.st_mode))
                folders << name;
            else if (!matchesBatchMask(name))
                continue;
            else if (QFile::encodeName(name) != raw)
                result.unreadable << QDir(folder).filePath(name);
            else
                files << name;
        }
        closedir(dir);

        sortByName(&files);
        for (const QString &name : files)
            result.files << QDir(folder).filePath(name);
        if (!m_recurse)
            return;
        sortByName(&folders);
        for (const QString &name : folders)
            search(QDir(folder).filePath(name));
    }

    FolderSearch result;

private:
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
