#include "support/browser_process.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcessEnvironment>
#include <QThread>

BrowserProcess::BrowserProcess(const QString &program, const QStringList &arguments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TMPDIR"), m_temp.path());
    m_process.setProcessEnvironment(environment);
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.start(program, arguments);
    m_started = m_process.waitForStarted(10000);
}

BrowserProcess::~BrowserProcess()
{
    stop();
}

QString BrowserProcess::output() const
{
    return QString::fromLocal8Bit(m_process.readAll());
}

void BrowserProcess::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    // SIGTERM lets the browser take its helper processes with it.
    m_process.terminate();
    if (!m_process.waitForFinished(10000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

bool pollUntil(int limitMs, const std::function<bool()> &done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > limitMs)
            return false;
        QCoreApplication::processEvents();
        QThread::msleep(200);
    }
    return true;
}
