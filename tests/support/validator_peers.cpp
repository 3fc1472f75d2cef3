#include "support/validator_peers.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTcpSocket>
#include <QThread>

#include "platform/ini_file.h"
#include "platform/program_folder.h"
#include "support/local_http_server.h"

namespace {

const QString kCheckProgram = QStringLiteral("/usr/lib/cgi-bin/w3c-markup-validator/check");

QString vnuJar()
{
    const QString configured = qEnvironmentVariable("VELMARIN_VNU_JAR");
    return configured.isEmpty() ? QStringLiteral(VELMARIN_VNU_JAR) : configured;
}

}  // namespace

ValidatorPeers::ValidatorPeers(bool withNewerChecker)
{
    const QString lighttpd = QStandardPaths::findExecutable(
        QStringLiteral("lighttpd"), {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin")});
    if (lighttpd.isEmpty() || !QFileInfo::exists(kCheckProgram)) {
        m_problem = QStringLiteral("lighttpd or w3c-markup-validator is not installed");
        return;
    }
    QByteArray nu;  // the newer checker's part of the server's configuration
    if (withNewerChecker) {
        if (!QFileInfo::exists(vnuJar())) {
            m_problem = QStringLiteral("vnu.jar not found (scripts/setup.sh installs it): ") + vnuJar();
            return;
        }
        const quint16 vnuPort = freeLoopbackPort();
        if (!startServer(m_vnu, QStringLiteral("java"),
                         {QStringLiteral("-Dnu.validator.servlet.bind-address=127.0.0.1"),
                          QStringLiteral("-Dnu.validator.servlet.allow-forbidden-hosts=true"),
                          QStringLiteral("-cp"), vnuJar(),
                          QStringLiteral("nu.validator.servlet.Main"), QString::number(vnuPort)},
                         vnuPort, 120000))
            return;
        nu = "$HTTP[\"url\"] =~ \"^/nu/\" {\n"
             "  proxy.server = (\"\" => ((\"host\" => \"127.0.0.1\", \"port\" => " +
             QByteArray::number(vnuPort) + ")))\n"
             "  proxy.header = (\"map-urlpath\" => (\"/nu/\" => \"/\"))\n}\n";
    }
    m_port = freeLoopbackPort();
    const QByteArray config =
        "server.modules = (\"mod_alias\", \"mod_cgi\", \"mod_proxy\")\n"
        "server.document-root = \"" + m_dir.path().toUtf8() + "\"\n"
        "server.bind = \"127.0.0.1\"\n"
        "server.port = " + QByteArray::number(m_port) + "\n"
        "server.errorlog = \"" + m_dir.filePath(QStringLiteral("error.log")).toUtf8() + "\"\n"
        "alias.url = (\"/check\" => \"" + kCheckProgram.toUtf8() + "\")\n"
        "cgi.assign = (\"/check\" => \"\")\n" + nu;
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
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setStandardOutputFile(m_dir.filePath(QFileInfo(program).fileName() + ".log"));
    process.start(program, arguments);
    // Ready once it accepts connections; a start-up wait, not a measurement.
    const QDeadlineTimer deadline(waitMs);
    while (process.waitForStarted() && !deadline.hasExpired()) {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, port);
        if (socket.waitForConnected(200))
            return true;
        QThread::msleep(100);
    }
    m_problem = program + QStringLiteral(" did not start or does not answer on its port");
    return false;
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

void setValidatorHosts(const QString &origin, std::initializer_list<const char *> sections)
{
    IniFile ini(ProgramFolder::iniPath());
    for (const char *section : sections)
        ini.writeString(QLatin1String(section), QStringLiteral("Host"), origin);
}
