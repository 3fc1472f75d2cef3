#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>

#include "support/local_http_server.h"

// A real browser started by a test, ended with it: the destructor stops the
// browser (and so its child processes) even when the test fails midway. Its
// TMPDIR is a folder of its own, removed afterwards, because a browser that
// is stopped leaves files there (Chromium's singleton socket folder).
class BrowserProcess {
public:
    BrowserProcess(const QString &program, const QStringList &arguments);
    ~BrowserProcess();
    BrowserProcess(const BrowserProcess &) = delete;
    BrowserProcess &operator=(const BrowserProcess &) = delete;

    bool started() const { return m_started; }
    QString output() const;  // what it printed so far, for failure messages
    void stop();

private:
    QTemporaryDir m_temp;  // outlives the process
    mutable QProcess m_process;
    bool m_started = false;
};

// Asks `done` every 200 ms, with events handled in between, until it answers
// true or `limitMs` passed; returns its last answer.
bool pollUntil(int limitMs, const std::function<bool()> &done);
