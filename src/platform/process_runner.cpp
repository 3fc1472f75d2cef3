#include "process_runner.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <memory>

namespace {

// The programs runToFiles waits for and those startToFiles started; nested
// waits (an event handled during a wait starts another run) and a batch on
// several cores make them more than one.
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

void ProcessRunner::startToFiles(const QString &program, const QStringList &arguments,
                                 const QString &stdoutFile, const QString &stderrFile,
                                 QObject *owner, std::function<void(const Result &)> done)
{
    auto *process = new QProcess(owner);
    process->setProgram(program);
    process->setArguments(arguments);
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(stdoutFile, QIODevice::Truncate);
    process->setStandardErrorFile(stderrFile, QIODevice::Truncate);

    // Reported once, from the event loop, whichever signal comes.
    auto pending = std::make_shared<std::function<void(const Result &)>>(std::move(done));
    auto report = [process, pending](const Result &result) {
        if (!*pending)
            return;
        std::function<void(const Result &)> call = std::move(*pending);
        *pending = nullptr;
        QMetaObject::invokeMethod(
            process,
            [process, result, call] {
                process->deleteLater();
                call(result);
            },
            Qt::QueuedConnection);
    };
    QObject::connect(process, &QProcess::finished, process,
                     [report](int exitCode, QProcess::ExitStatus status) {
                         Result result;
                         result.started = true;
                         result.crashed = status == QProcess::CrashExit;
                         result.exitCode = exitCode;
                         report(result);
                     });
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process, report](QProcess::ProcessError error) {
                         if (error != QProcess::FailedToStart)
                             return;
                         Result result;
                         result.errorText = process->errorString();
                         report(result);
                     });
    running().append(process);
    QObject::connect(process, &QObject::destroyed, [process] { running().removeOne(process); });
    process->start();
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
