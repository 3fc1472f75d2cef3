#pragma once

#include <QLocalServer>
#include <QObject>
#include <QStringList>
#include <functional>

class QLocalSocket;

// One running Velmarin per user and program folder. The first start holds a
// lock and listens on a local socket that only this user can reach; a second
// start hands its command line over that socket and waits until the first
// has run every check it asked for.
//
// Wire format, client to server: one byte 'R' (bring to front only) or 'C'
// (command line), one byte '1' or '0' (bring to front), then the forwarded
// text in UTF-8 and a zero byte. The server answers one byte 'K' when done.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    struct Request {
        bool raise = false;
        bool hasCommandLine = false;
        QStringList arguments;
    };
    // Called for every well-formed request; `done` must be called once the
    // request has been handled (it releases the waiting sender).
    using Handler = std::function<void(const Request &request, std::function<void()> done)>;

    explicit SingleInstance(QObject *parent = nullptr);
    ~SingleInstance() override;

    // True when this process is the first instance; it then listens. False
    // also when the private runtime folder cannot be used (runtimeProblem()).
    bool becomeFirst(Handler handler);

    // Second instance: hands the request over and blocks until it was handled.
    // Returns false when no first instance could be reached.
    static bool sendToFirst(const Request &request);

    // The socket's name and the lock file's path, private to the user and
    // distinct per program folder.
    static QString serverName();
    static QString lockPath();
    // Empty when the folder of the socket and the lock can be used; else a
    // message for the user that says which folder and why not. Without that
    // folder the program cannot keep to one instance.
    static QString runtimeProblem();

private:
    void onNewConnection();
    void onReadyRead(QLocalSocket *socket);

    int m_lockFd = -1;  // holds the lock while open
    QLocalServer m_server;
    Handler m_handler;
};
