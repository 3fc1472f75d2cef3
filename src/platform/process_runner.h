#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QObject;

// Starting outside programs (Tidy, Java, the editor, the desktop's opener).
// Programs always get an argument vector; nothing goes through a shell, so
// paths with spaces, quotes, Japanese characters or a leading dash are safe.
class ProcessRunner {
public:
    struct Result {
        bool started = false;
        bool crashed = false;
        int exitCode = -1;
        QString errorText;  // why it could not be started, when it could not
    };

    virtual ~ProcessRunner() = default;

    // Runs a program with standard output and standard error written to two
    // files (created or truncated), standard input closed, and waits for its
    // end without a time limit. While it waits, events that are not user
    // input are still handled, so the window repaints and messages from
    // other instances are received.
    virtual Result runToFiles(const QString &program, const QStringList &arguments,
                              const QString &stdoutFile, const QString &stderrFile);

    // Starts the same run and returns at once. `done` is called from the
    // event loop, never from within this call, once the program has ended or
    // could not start. The process belongs to `owner`: deleting the owner
    // kills a process still running, and `done` is then not called.
    virtual void startToFiles(const QString &program, const QStringList &arguments,
                              const QString &stdoutFile, const QString &stderrFile,
                              QObject *owner, std::function<void(const Result &)> done);

    // Kills the programs that runToFiles is waiting for and those that
    // startToFiles started, for a program that is told to end in the middle
    // of a run.
    static void killRunning();

    // Starts a program and does not wait for it (the user's editor).
    virtual bool startDetached(const QString &program, const QStringList &arguments);

    // Opens a file with the desktop's default application (xdg-open).
    virtual bool openWithDefaultApplication(const QString &path);
};
