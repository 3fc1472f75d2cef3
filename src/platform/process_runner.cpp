#include "process_runner.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>

namespace {

// The programs runToFiles waits for; nested waits (an event handled during
// a wait starts another run) make it more than one.
QList<QProcess *> &running()
{
    static QList<QProcess *> processes;
    return processes;
}

}  // namespace

void ProcessRunner::killRunning()
{
    for (QProcess *process : running())
        process->kill();
}

ProcessRunner::Result ProcessRunner::runToFiles(const QString &program,
                                                const QStringList &arguments,
                                                const QString &stdoutFile,
                                                const QString &stderrFile)
{
    Result result;
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(stdoutFile, QIODevice::Truncate);
    process.setStandardErrorFile(stderrFile, QIODevice::Truncate);

    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &loop,
                     [&loop](QProcess::ProcessError error) {
                         if (error == QProcess::FailedToStart)
                             loop.quit();
                     });
    process.start();
    running().append(&process);
    const auto forget = qScopeGuard([&process] { running().removeOne(&process); });
    if (process.state() != QProcess::NotRunning) {
        if (QCoreApplication::instance() != nullptr)
            loop.exec(QEventLoop::ExcludeUserInputEvents);
        else
            process.waitForFinished(-1);
    }
    if (process.error() == QProcess::FailedToStart) {
        result.errorText = process.errorString();
        return result;
    }
    result.started = true;
    result.crashed = process.exitStatus() == QProcess::CrashExit;
    result.exitCode = process.exitCode();
    return result;
}

bool ProcessRunner::startDetached(const QString &program, const QStringList &arguments)
{
    return QProcess::startDetached(program, arguments);
}

bool ProcessRunner::openWithDefaultApplication(const QString &path)
{
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty())
        return false;
    return QProcess::startDetached(opener, {path});
}
