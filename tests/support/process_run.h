#pragma once

#include <QString>
#include <QStringList>

// What a program run to its end left behind.
struct RunResult {
    bool finished = false;  // false: could not start, or killed at the time limit
    int exitCode = -1;
    QString out, err;  // as UTF-8
};

// Runs `program` and waits for it. `env` holds "NAME=value" entries added to the
// test's own environment ("NAME" alone removes one); `dir` is the working folder.
// `unprivileged` runs it as nobody when the test is root, to whom a mode of 000
// means nothing.
RunResult run(const QString &program, const QStringList &args, const QStringList &env = {},
              const QString &dir = {}, int timeoutMs = 60000, bool unprivileged = false);

// The console program, the same way.
RunResult runCliProgram(const QStringList &args, const QStringList &env = {},
                        const QString &dir = {}, int timeoutMs = 60000, bool unprivileged = false);
