#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <atomic>
#include <memory>

class FolderMemory;
class HttpClient;
class LinkWorker;
class MessageListModel;
class View;

// An error that ends a link check: the document cannot be read, or the folder
// local links are resolved against has gone.
struct LinkCheckError {
    QString message;
};

// The link check: collects the links of a page (a, img and link elements),
// verifies each one by a HEAD request, a file test or an anchor search, and
// writes the result texts into the link list. Up to 10 links are verified on
// the calling thread, the wait for each request keeping the event loop
// running; 11 or more go to two worker threads and the start returns at once.
//
// While a check runs, the toolbar, the page's clear button and the link check
// action are disabled and the abort button enabled; every end restores them.
// A second start while one runs is refused. finished() is emitted once for
// every start that began a check (also when it ended with a message row),
// after the controls have been restored; none after shutdown().
//
// The view, the list, the client and the folder memory must outlive the
// LinkCheck (its destructor stops and waits for the workers).
class LinkCheck : public QObject {
    Q_OBJECT
public:
    LinkCheck(View &view, MessageListModel &linkList, HttpClient &http, FolderMemory &folders,
              QObject *parent = nullptr);
    // Stops and waits for the workers (shutdown()).
    ~LinkCheck() override;

    // How long a HEAD request may take before its link reads "404(Not Found)".
    void setHeadDeadline(int ms) { m_headDeadlineMs = ms; }
    int headDeadline() const { return m_headDeadlineMs; }

    // The link check action (F12): asks for an HTML file and checks it. An
    // error that ends the check goes to the view's error display.
    void linkCheckExecute();
    // Checks a file path or an http URL given as text (command line, URL
    // dialog). Errors are not shown. False when refused because a check runs.
    bool checkLinksTarget(const QString &target);
    // Files dropped on the link list: the first one is checked.
    void fileDrop(const QStringList &files);
    // Double-click on the list: verifies the selected row (-1 for none) again.
    void linkListDblClick(int selectedRow);

    // The steps, for callers that set the fields themselves. Each throws
    // LinkCheckError; none starts while a check runs (they return at once).
    // Fills the list from the document and verifies it.
    void extractLinks(const QString &document, const QString &pageUrl);
    // Verifies every row on this thread, then the rows that failed once more.
    void checkLinks(const QString &document, const QString &pageUrl);
    // Verifies one row.
    void checkLinkRow(const QString &document, int row, const QString &pageUrl);

    // The abort button: sets the abort flag and cuts the main client's request
    // short; rows not yet verified read "中止" (workers finish their current row).
    void abort();
    // Closing the window: abort, stop the workers and wait for them. Nothing is
    // written to the list afterwards.
    void shutdown();
    bool isRunning() const;
    // Whether the last checkLinksTarget read its page and listed its links;
    // false when the page was missing, refused or could not be fetched.
    bool lastChecked() const { return m_lastChecked; }

    QString linkDocument() const { return m_linkDocument; }
    QString linkBase() const { return m_linkBase; }
    bool linkAborted() const { return m_linkAbort.load(); }

Q_SIGNALS:
    void finished();

private:
    class Run;

    bool beginRun();
    void endRun();
    // The check is over: the action comes back and finished() is emitted.
    void endCheck();
    void startRunningControls();
    void restoreControls();
    void setFieldsForFile(const QString &file);
    void extractLinksNow(const QString &document, const QString &pageUrl);
    void checkLinksNow(const QString &document, const QString &pageUrl);
    // One row; false when the row was aborted.
    bool checkRowNow(const QString &document, int row, const QString &pageUrl, bool restore = true);
    void startWorkers(const QString &document, const QString &pageUrl);
    void applyFromWorker(int row, const QString &text);
    void linkWorkerDone(LinkWorker *worker, quint64 serial);
    QString workFile(const QString &name) const;
    QString linkAt(int row) const;

    View &m_view;
    MessageListModel &m_list;
    HttpClient &m_http;
    FolderMemory &m_folders;
    int m_headDeadlineMs = 5000;

    QString m_linkDocument;
    QString m_linkBase;
    std::atomic<bool> m_linkAbort{false};

    int m_depth = 0;        // nested steps of the check in progress
    bool m_active = false;  // a check has begun and not yet finished
    bool m_shutDown = false;
    bool m_lastChecked = false;
    std::unique_ptr<LinkWorker> m_mlink;
    std::unique_ptr<LinkWorker> m_mlink2;
    int m_workerRowsDone = 0;
    int m_workerRowsTotal = 0;
    quint64 m_workerSerial = 0;
};
