#pragma once

#include <QObject>

// Turns SIGTERM and SIGINT into a Qt signal delivered on the main thread, so
// a logout or Ctrl+C closes the window the normal way and nothing is lost.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

Q_SIGNALS:
    void terminationRequested();
};
