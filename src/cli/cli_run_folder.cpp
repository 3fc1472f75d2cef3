#include "cli/cli_run_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cerrno>
#include <csignal>

namespace CliRunFolder {

namespace {

const QString kPidFile = QStringLiteral("pid");

bool processIsGone(qint64 pid)
{
    return pid > 0 && pid != QCoreApplication::applicationPid() && ::kill(pid_t(pid), 0) != 0 &&
           errno == ESRCH;
}

}  // namespace

void removeAbandoned(const QString &workDir)
{
    const QDir dir(workDir);
    for (const QString &name : dir.entryList({QStringLiteral("cli-*")},
                                             QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden)) {
        QFile pidFile(dir.filePath(name + u'/' + kPidFile));
        if (!pidFile.open(QIODevice::ReadOnly)) continue;
        bool ok = false;
        const qint64 pid = pidFile.read(32).trimmed().toLongLong(&ok);
        pidFile.close();
        if (ok && processIsGone(pid)) QDir(dir.filePath(name)).removeRecursively();
    }
}

bool claim(const QString &folder)
{
    QFile pidFile(folder + u'/' + kPidFile);
    return pidFile.open(QIODevice::WriteOnly) &&
           pidFile.write(QByteArray::number(QCoreApplication::applicationPid()) + '\n') > 0;
}

void release(const QString &folder)
{
    QFile::remove(folder + u'/' + kPidFile);
}

}  // namespace CliRunFolder
