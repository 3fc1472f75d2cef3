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

QString queryTidyVersion(const QString &tidyPath, int timeoutMs)
{
    const std::optional<QByteArray> output =
        runTidyQuery(tidyPath, QStringLiteral("-v"), timeoutMs, true);
    if (!output)
        return QString();
    // One short line; anything longer is no Tidy's answer.
    const QString line = QString::fromUtf8(output->left(200)).section(u'\n', 0, 0).trimmed();
    return line;
}
