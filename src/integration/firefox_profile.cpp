#include "integration/firefox_profile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include "platform/ini_document.h"
#include "platform/text_codec.h"

namespace FirefoxProfile {

namespace {

// profiles.ini is a few hundred bytes; a larger file is not one.
constexpr qint64 kProfilesIniCap = 1024 * 1024;

QStringList sectionNames(const IniDocument &ini)
{
    QStringList names;
    for (const QString &line : ini.lines()) {
        const QString trimmed = line.trimmed();
        const qsizetype close = trimmed.lastIndexOf(u']');
        if (trimmed.startsWith(u'[') && close > 1)
            names << trimmed.mid(1, close - 1).trimmed();
    }
    return names;
}

QString resolve(const QString &root, const QString &path, bool relative)
{
    if (path.isEmpty())
        return {};
    return QDir::cleanPath(relative ? QDir(root).filePath(path) : path);
}

bool parentLockHeld(const QString &profile)
{
    const QByteArray path = QFile::encodeName(QDir(profile).filePath(QStringLiteral(".parentlock")));
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct flock lock = {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    const bool held = ::fcntl(fd, F_GETLK, &lock) == 0 && lock.l_type != F_UNLCK;
    ::close(fd);
    return held;
}

bool lockLinkAlive(const QString &profile)
{
    const QString target = QFileInfo(QDir(profile).filePath(QStringLiteral("lock"))).symLinkTarget();
    // symLinkTarget() gives an absolute path; the pid is after the last "+".
    const qsizetype plus = target.lastIndexOf(u'+');
    if (plus < 0)
        return false;
    bool ok = false;
    const qint64 pid = target.mid(plus + 1).toLongLong(&ok);
    if (!ok || pid <= 0 || pid > 0x7fffffff)
        return false;
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

}  // namespace

QStringList profileRoots()
{
    const QString home = QDir::homePath();
    return {home + QStringLiteral("/.mozilla/firefox"),
            home + QStringLiteral("/.config/mozilla/firefox")};
}

QString defaultProfile(const QString &root)
{
    QFile file(QDir(root).filePath(QStringLiteral("profiles.ini")));
    if (!file.open(QIODevice::ReadOnly) || file.size() > kProfilesIniCap)
        return {};
    const IniDocument ini = IniDocument::parse(TextCodec::decode(file.read(kProfilesIniCap)));
    const QStringList sections = sectionNames(ini);

    for (const QString &section : sections) {
        if (section.startsWith(QLatin1String("Install"), Qt::CaseInsensitive)) {
            const QString path = ini.value(section, QStringLiteral("Default"));
            if (!path.isEmpty())
                return resolve(root, path, !QDir::isAbsolutePath(path));
        }
    }
    QString only;
    int profiles = 0;
    for (const QString &section : sections) {
        if (!section.startsWith(QLatin1String("Profile"), Qt::CaseInsensitive))
            continue;
        const QString path = resolve(root, ini.value(section, QStringLiteral("Path")),
                                     ini.value(section, QStringLiteral("IsRelative")) == QLatin1String("1"));
        if (path.isEmpty())
            continue;
        if (ini.value(section, QStringLiteral("Default")) == QLatin1String("1"))
            return path;
        only = path;
        ++profiles;
    }
    return profiles == 1 ? only : QString();
}

QString findDefaultProfile()
{
    for (const QString &root : profileRoots()) {
        const QString profile = defaultProfile(root);
        if (!profile.isEmpty() && QFileInfo(profile).isDir())
            return profile;
    }
    return {};
}

bool isInUse(const QString &profile)
{
    return !profile.isEmpty() && (parentLockHeld(profile) || lockLinkAlive(profile));
}

QString sessionStorePath(const QString &profile)
{
    return QDir(profile).filePath(QStringLiteral("sessionstore-backups/recovery.jsonlz4"));
}

}  // namespace FirefoxProfile
