#pragma once

#include <QMutex>
#include <QObject>
#include <QStringList>
#include <QThread>
#include <QWaitCondition>
#include <atomic>
#include <functional>
#include <memory>

// One of the two threads (MLink, MLink2) that verify a link list of 11 or
// more rows. It has its own HTTP client and working file, and hands every
// write to the list and the status line to the main thread, going on only
// once it has been applied.
class LinkWorker : public QThread {
    Q_OBJECT
public:
    struct Job {
        QString document;
        QString pageUrl;
        QString linkBase;
        QString workFile;
        int firstRow = 0;
        QStringList links;  // the links of this worker's rows, from firstRow on
        int totalRows = 0;  // rows of the whole list
        int headDeadlineMs = 5000;
        const std::atomic<bool> *linkAbort = nullptr;
    };
    // Applied on the main thread: a row's new status, or (row < 0) a status
    // line text.
    using Apply = std::function<void(int row, const QString &text)>;

    // `context` lives in the main thread; `apply` runs there.
    LinkWorker(Job job, QObject *context, Apply apply);
    ~LinkWorker() override;

    // Asks the thread to end at its next step. Main thread only. A hand-over
    // the thread waits for is given up, so a main thread that then waits for
    // the thread cannot deadlock, and nothing more is applied.
    void requestStop();

protected:
    void run() override;

private:
    struct Mailbox {
        QMutex mutex;
        QWaitCondition applied;
        quint64 posted = 0;
        quint64 done = 0;
        bool stopped = false;
    };

    // False when the thread has been asked to end.
    bool handOver(int row, const QString &text);

    Job m_job;
    QObject *m_context;
    Apply m_apply;
    std::atomic<bool> m_stop{false};
    std::shared_ptr<Mailbox> m_mailbox = std::make_shared<Mailbox>();
};
