#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "tidy/tidy_run.h"

struct AppSettings;
class FolderMemory;
class ProcessRunner;
class ReportListModel;
class QStringListModel;
class View;

// Several documents checked in one go: a folder, files dropped together, the
// documents of a command line. Entry N's report and output are the numbered
// working files tidy_errN.txt and tidy_outN.txt, and entry N of the file
// selector names its document. Only entries whose Tidy run started are
// numbered, so selector index and file number always agree.
//
// A folder or a drop runs Tidy on up to jobCount() documents at once and
// returns at once; finished() says when the last has ended. Each document
// runs into working files of its own place in the list and becomes an entry
// only when every document before it has: its files are renamed to the
// entry's, its selector row added and the status line counts it. So the
// user sees entries, rows, files and counts exactly in the list's order.
class TidyBatch : public QObject {
    Q_OBJECT

public:
    TidyBatch(AppSettings &settings, View &view, TidyRun &tidyRun, ProcessRunner &runner,
              ReportListModel &list, QStringListModel &fileSelector, FolderMemory &folders);
    ~TidyBatch() override;

    // Checks one document (file or URL) as entry `entry` and waits for it;
    // the selector gets the entry only when the outcome is Checked. Throws
    // FunctionFailure.
    TidyRun::Outcome runTidyForEntry(const QString &document, int entry);

    // Shows entry `entry`: its report in the list and its output opened
    // (when the Tidy run opens outputs).
    void showEntryReport(int entry);

    // The folder batch on a chosen folder.
    void runFolder(const QString &folder);
    // Several dropped files, in the order received.
    void runFiles(const QStringList &files);

    // The abort button: no further document starts; those running finish
    // and keep their entries.
    void abort() { m_abort = true; }
    // Closing: the running Tidy processes are ended and nothing is kept.
    void shutdown();
    bool isRunning() const { return m_running; }

    // How many Tidy processes run at once: [Tidy] Jobs of Velmarin.ini when
    // positive, else the number of processor cores.
    int jobCount() const;

    // How many documents or folders the last batch could not check.
    int lastProblemCount() const { return m_lastProblemCount; }

Q_SIGNALS:
    void finished();

private:
    struct Document;

    // Starts the documents as entries 0, 1, … in the list's order until the
    // list ends or the abort button is pressed.
    void runEntries(const QStringList &documents);
    // Commits what has ended in order and starts what may start; ends the
    // batch when nothing is left.
    void advance();
    void start(Document &document, int place);
    void commit(Document &document);
    void finish();
    void reportProblems();

    AppSettings &m_settings;
    View &m_view;
    TidyRun &m_tidyRun;
    ProcessRunner &m_runner;
    ReportListModel &m_list;
    QStringListModel &m_fileSelector;
    FolderMemory &m_folders;
    bool m_abort = false;
    bool m_running = false;
    bool m_advancing = false;
    QStringList m_problems;
    int m_lastProblemCount = 0;

    std::vector<Document> m_documents;
    int m_started = 0;    // documents started, in list order
    int m_committed = 0;  // documents done and shown, in list order
    int m_entries = 0;    // entries numbered so far
    int m_runningJobs = 0;
    int m_jobLimit = 1;
    bool m_exclusive = false;  // a downloaded page's run, which others wait for
    bool m_stop = false;       // no Tidy: every further document would fail alike
    // Owns the running processes; deleting it ends them.
    std::unique_ptr<QObject> m_jobs;
};
