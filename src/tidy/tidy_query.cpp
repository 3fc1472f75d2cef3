#include "tidy/tidy_query.h"

#include <QProcess>

std::optional<QByteArray> runTidyQuery(const QString &program, const QString &argument,
                                       int timeoutMs, bool zeroExitOnly)
{
    QProcess process;
    process.setProgram(program);
    process.setArguments({argument});
    process.setStandardInputFile(QProcess::nullDevice());
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start();
    if (!process.waitForStarted(timeoutMs))
        return std::nullopt;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(1000);
        return std::nullopt;
    }
    if (process.exitStatus() != QProcess::NormalExit || (zeroExitOnly && process.exitCode() != 0))
        return std::nullopt;
    return process.readAllStandardOutput();
}
