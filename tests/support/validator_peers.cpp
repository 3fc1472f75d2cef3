#include "support/validator_peers.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

namespace {

quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
}

bool answers(quint16 port)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    return socket.waitForConnected(200);
}

}  // namespace

QString ValidatorPeers::checkProgram()
{
    return QStringLiteral("/usr/lib/cgi-bin/w3c-markup-validator/check");
}

QString ValidatorPeers::vnuJar()
{
    const QString configured = qEnvironmentVariable("VELMARIN_VNU_JAR");
    if (!configured.isEmpty())
        return configured;
#ifdef VELMARIN_VNU_JAR
    return QStringLiteral(VELMARIN_VNU_JAR);
#else
    return QString();
#endif
}

ValidatorPeers::ValidatorPeers(bool withNewerChecker)
{
    const QString lighttpd = QStandardPaths::findExecutable(
        QStringLiteral("lighttpd"), {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin")});
    if (lighttpd.isEmpty() || !QFileInfo::exists(checkProgram())) {
        m_problem = QStringLiteral("lighttpd or w3c-markup-validator is not installed");
        return;
    }
    quint16 vnuPort = 0;
    if (withNewerChecker) {
        if (!QFileInfo::exists(vnuJar())) {
            m_problem = QStringLiteral("vnu.jar not found (scripts/setup.sh installs it): ") + vnuJar();
            return;
        }
        vnuPort = freePort();
        if (!startServer(m_vnu, QStringLiteral("java"),
                         {QStringLiteral("-Dnu.validator.servlet.bind-address=127.0.0.1"),
                          QStringLiteral("-Dnu.validator.servlet.allow-forbidden-hosts=true"),
                          QStringLiteral("-cp"), vnuJar(),
                          QStringLiteral("nu.validator.servlet.Main"), QString::number(vnuPort)},
                         vnuPort, 120000))
            return;
    }
    m_port = freePort();
    QByteArray config =
        "server.modules = (\"mod_alias\", \"mod_cgi\", \"mod_proxy\")\n"
        "server.document-root = \"" + m_dir.path().toUtf8() + "\"\n"
        "server.bind = \"127.0.0.1\"\n"
        "server.port = " + QByteArray::number(m_port) + "\n"
        "server.errorlog = \"" + m_dir.filePath(QStringLiteral("error.log")).toUtf8() + "\"\n"
        "alias.url = (\"/check\" => \"" + checkProgram().toUtf8() + "\")\n"
        "cgi.assign = (\"/check\" => \"\")\n";
    if (vnuPort != 0)
        config += "$HTTP[\"url\"] =~ \"^/nu/\" {\n"
                  "  proxy.server = (\"\" => ((\"host\" => \"127.0.0.1\", \"port\" => " +
                  QByteArray::number(vnuPort) + ")))\n"
                  "  proxy.header = (\"map-urlpath\" => (\"/nu/\" => \"/\"))\n"
                  "}\n";
    QFile file(m_dir.filePath(QStringLiteral("lighttpd.conf")));
    if (!file.open(QIODevice::WriteOnly) || file.write(config) != config.size()) {
        m_problem = QStringLiteral("cannot write the server's configuration");
        return;
    }
    file.close();
    startServer(m_lighttpd, lighttpd, {QStringLiteral("-D"), QStringLiteral("-f"), file.fileName()},
                m_port, 20000);
}

bool ValidatorPeers::startServer(QProcess &process, const QString &program,
                                 const QStringList &arguments, quint16 port, int waitMs)
{
    // Their chatter (the check program warns on every request) goes to a log
    // beside the server's configuration, not into the test output.
    const QString log = m_dir.filePath(QFileInfo(program).fileName() + QStringLiteral(".log"));
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setStandardOutputFile(log, QIODevice::Append);
    process.start(program, arguments);
    if (!process.waitForStarted()) {
        m_problem = program + QStringLiteral(" did not start");
        return false;
    }
    // Ready once it accepts connections; a start-up wait, not a measurement.
    const QDeadlineTimer deadline(waitMs);
    while (!answers(port)) {
        if (process.state() != QProcess::Running || deadline.hasExpired()) {
            m_problem = program + QStringLiteral(" does not answer on its port");
            return false;
        }
        QThread::msleep(100);
    }
    return true;
}

ValidatorPeers::~ValidatorPeers()
{
    for (QProcess *process : {&m_lighttpd, &m_vnu}) {
        if (process->state() == QProcess::NotRunning)
            continue;
        process->terminate();
        if (!process->waitForFinished(5000))
            process->kill();
        process->waitForFinished();
    }
}

QString ValidatorPeers::origin() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(m_port);
}
