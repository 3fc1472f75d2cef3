#include "single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QPointer>
#include <QStandardPaths>
#include <QThread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "app/forwarded_command_line.h"
#include "platform/program_folder.h"

namespace {

struct RuntimeFolder {
    QString path;
    QString problem;  // why it cannot be used; empty when it can
};

// A folder only this user can enter: $XDG_RUNTIME_DIR, else a folder of
// mode 0700 in /tmp made by this user. Anybody can make that name first,
// also as a link to another folder of ours, so an existing one is used only
// when it is a real folder of this user that nobody else can enter; it is
// never changed to become one.
RuntimeFolder privateRuntimeFolder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir() && QFileInfo(runtime).isWritable())
        return {runtime, {}};
    const QString folder = QDir::tempPath() + QStringLiteral("/velmarin-%1").arg(::getuid());
    const QByteArray name = QFile::encodeName(folder);
    if (::mkdir(name.constData(), 0700) == 0) {
        ::chmod(name.constData(), 0700);  // whatever the umask; it is ours
        return {folder, {}};
    }
    const int error = errno;
    const QString cannotUse = QStringLiteral("フォルダ「%1」は%2ため、使えません。"
                                             "Velmarinを1つだけ動かすことができないので、"
                                             "起動をやめます。");
    struct stat info {};
    if (error != EEXIST || ::lstat(name.constData(), &info) != 0)
        return {folder, cannotUse.arg(folder, QStringLiteral("作れない"))};
    if (S_ISLNK(info.st_mode))
        return {folder, cannotUse.arg(folder, QStringLiteral("シンボリックリンクである"))};
    if (!S_ISDIR(info.st_mode))
        return {folder, cannotUse.arg(folder, QStringLiteral("フォルダではない"))};
    if (info.st_uid != ::getuid())
        return {folder, cannotUse.arg(folder, QStringLiteral("ほかのユーザーのものである"))};
    if ((info.st_mode & 077) != 0)
        return {folder, cannotUse.arg(folder, QStringLiteral("ほかのユーザーも使える"))};
    return {folder, {}};
}

QString instanceKey()
{
    const QByteArray folder = QDir(ProgramFolder::path()).canonicalPath().toUtf8();
    return QString::fromLatin1(
        QCryptographicHash::hash(folder, QCryptographicHash::Sha1).toHex().left(16));
}

constexpr int kMaxRequestBytes = 1 << 20;

}  // namespace

SingleInstance::SingleInstance(QObject *parent) : QObject(parent) {}

SingleInstance::~SingleInstance()
{
    m_server.close();
    if (m_lockFd >= 0)
        ::close(m_lockFd);
}

QString SingleInstance::serverName()
{
    return privateRuntimeFolder().path + QStringLiteral("/velmarin-") + instanceKey() +
           QStringLiteral(".sock");
}

QString SingleInstance::lockPath()
{
    return privateRuntimeFolder().path + QStringLiteral("/velmarin-") + instanceKey() +
           QStringLiteral(".lock");
}

QString SingleInstance::runtimeProblem()
{
    return privateRuntimeFolder().problem;
}

bool SingleInstance::becomeFirst(Handler handler)
{
    if (!runtimeProblem().isEmpty())
        return false;
    // The kernel drops the lock with the process, however it ends, so no
    // stale lock is ever left to judge. Nothing is written into the file:
    // a lock that has to reach the disk first would hold up every start.
    const QByteArray path = QFile::encodeName(lockPath());
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    m_lockFd = fd;
    m_handler = std::move(handler);
    const QString name = serverName();
    QLocalServer::removeServer(name);  // a socket left by a process that died
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    m_server.listen(name);
    connect(&m_server, &QLocalServer::newConnection, this, &SingleInstance::onNewConnection);
    return true;
}

void SingleInstance::onNewConnection()
{
    while (QLocalSocket *socket = m_server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        if (socket->bytesAvailable() > 0)
            onReadyRead(socket);
    }
}

void SingleInstance::onReadyRead(QLocalSocket *socket)
{
    if (socket->property("velmarinTaken").toBool())
        return;
    QByteArray buffer = socket->property("velmarinBuffer").toByteArray();
    buffer += socket->readAll();
    const qsizetype end = buffer.indexOf('\0');
    if (end < 0) {
        if (buffer.size() > kMaxRequestBytes)
            socket->abort();
        else
            socket->setProperty("velmarinBuffer", buffer);
        return;
    }
    socket->setProperty("velmarinTaken", true);
    Request request;
    bool wellFormed = buffer.size() >= 2 && (buffer.at(0) == 'R' || buffer.at(0) == 'C') &&
                      (buffer.at(1) == '0' || buffer.at(1) == '1');
    if (wellFormed) {
        request.raise = buffer.at(1) == '1' || buffer.at(0) == 'R';
        request.hasCommandLine = buffer.at(0) == 'C';
        if (request.hasCommandLine) {
            const auto items =
                ForwardedCommandLine::decode(QString::fromUtf8(buffer.mid(2, end - 2)));
            if (items)
                request.arguments = *items;
            else
                wellFormed = false;
        }
    }
    QPointer<QLocalSocket> guard(socket);
    auto done = [guard] {
        if (guard) {
            guard->write("K");
            guard->flush();
            guard->disconnectFromServer();
        }
    };
    if (!wellFormed || !m_handler) {
        done();  // a malformed request is ignored
        return;
    }
    m_handler(request, done);
}

bool SingleInstance::sendToFirst(const Request &request)
{
    // The first instance may hold the lock but not listen yet: try a while.
    QLocalSocket socket;
    for (int attempt = 0;; ++attempt) {
        socket.connectToServer(serverName());
        if (socket.waitForConnected(1000))
            break;
        if (attempt >= 50)
            return false;
        QThread::msleep(100);
    }
    QByteArray message;
    message += request.hasCommandLine ? 'C' : 'R';
    message += request.raise ? '1' : '0';
    if (request.hasCommandLine)
        message += ForwardedCommandLine::encode(request.arguments).toUtf8();
    message += '\0';
    socket.write(message);
    if (!socket.waitForBytesWritten(3000))
        return false;
    // The first instance answers once it has run every check; that can take
    // long, so there is no time limit. A first instance that quits or dies
    // closes the connection and ends the wait.
    while (socket.state() == QLocalSocket::ConnectedState) {
        if (socket.waitForReadyRead(1000) && socket.read(1) == "K")
            return true;
    }
    return socket.read(1) == "K";
}
