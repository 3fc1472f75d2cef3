#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <initializer_list>

// The markup validators, for real, on loopback: Debian's markup validator
// (its "check" program as CGI under lighttpd, at /check) and, behind the
// same server at /nu/, the newer checker from the vnu-jar package running on
// Java, which takes some seconds to start.
class ValidatorPeers {
public:
    explicit ValidatorPeers(bool withNewerChecker);
    ~ValidatorPeers();

    // Empty when running; otherwise why not (a missing package, say).
    QString problem() const { return m_problem; }
    QString origin() const;  // http://127.0.0.1:PORT

private:
    bool startServer(QProcess &process, const QString &program, const QStringList &arguments,
                     quint16 port, int waitMs);

    QTemporaryDir m_dir;
    QProcess m_lighttpd;
    QProcess m_vnu;
    quint16 m_port = 0;
    QString m_problem;
};

// Points the settings file's Host of the named services' sections at origin.
void setValidatorHosts(const QString &origin,
                       std::initializer_list<const char *> sections = {"Markup", "Lint", "WDG",
                                                                       "CSS"});
