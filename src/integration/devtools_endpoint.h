#pragma once

#include <QByteArray>
#include <QString>

#include "platform/browser_bridge.h"

// A Chromium-family browser started with --remote-debugging-port: its
// DevTools HTTP endpoint on 127.0.0.1. Every request is answered or given up
// within kDeadlineMs, and an answer longer than kAnswerCap is refused, so a
// stranger on the port can neither hang the window nor fill its memory.
class DevToolsEndpoint {
public:
    static constexpr int kDeadlineMs = 2000;
    static constexpr qint64 kAnswerCap = 4LL * 1024 * 1024;

    explicit DevToolsEndpoint(int port) : m_port(port) {}

    // Another deadline than kDeadlineMs for every endpoint, for a test.
    static void setDeadlineMs(int ms);

    // The page of the most recently active tab. NotRunning when nothing
    // listens on the port; Unreachable when it does not answer in time or
    // answers with something other than a target list.
    BrowserBridge::Page currentPage() const;
    // Opens a new tab on a local file; true when the browser took it.
    bool openFile(const QString &path) const;

private:
    enum class Outcome { Answered, Refused, Failed };
    Outcome request(const QByteArray &verb, const QByteArray &pathAndQuery,
                    QByteArray *body) const;

    int m_port;
};
