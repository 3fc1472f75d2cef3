#pragma once

#include <QObject>

// Turns SIGTERM, SIGINT and SIGHUP into a Qt signal delivered on the main
// thread (whenever it handles events), so a logout, a closed terminal or
// Ctrl+C ends the program the normal way and nothing is lost.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

    // The exit status a shell gives a program ended by the signal: 128 + n.
    static int exitStatus(int signalNumber) { return 128 + signalNumber; }

Q_SIGNALS:
    void terminationRequested(int signalNumber);
};
