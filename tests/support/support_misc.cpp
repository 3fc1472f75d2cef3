#include <unistd.h>

#include <QProcess>

#include "support/env_guard.h"
#include "support/process_run.h"

EnvGuard::EnvGuard(std::initializer_list<QPair<const char *, QByteArray>> values)
{
    for (const auto &[name, value] : values) set(name, value);
}

EnvGuard::~EnvGuard()
{
    for (auto it = m_saved.crbegin(); it != m_saved.crend(); ++it)
        it->wasSet ? qputenv(it->name, it->value) : qunsetenv(it->name);
}

void EnvGuard::set(const char *name, const QByteArray &value)
{
    m_saved << Saved{name, qgetenv(name), qEnvironmentVariableIsSet(name)};
    value.isNull() ? qunsetenv(name) : qputenv(name, value);
}

RunResult run(const QString &program, const QStringList &args, const QStringList &env,
              const QString &dir, int timeoutMs, bool unprivileged)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString &entry : env) {
        const qsizetype equals = entry.indexOf(u'=');
        if (equals < 0)
            environment.remove(entry);
        else
            environment.insert(entry.left(equals), entry.mid(equals + 1));
    }
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(dir);
    if (unprivileged && ::getuid() == 0) {
        process.setChildProcessModifier([] {
            if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(99);
        });
    }
    process.start(program, args);
    RunResult result;
    result.finished =
        process.waitForFinished(timeoutMs) && process.exitStatus() == QProcess::NormalExit;
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished();
    }
    result.exitCode = process.exitCode();
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

RunResult runCliProgram(const QStringList &args, const QStringList &env, const QString &dir,
                        int timeoutMs, bool unprivileged)
{
    return run(QStringLiteral(VELMARIN_CLI_PATH), args, env, dir, timeoutMs, unprivileged);
}
