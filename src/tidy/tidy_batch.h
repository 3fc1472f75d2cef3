#pragma once

#include <QString>
#include <QStringList>

#include "tidy/tidy_run.h"

struct AppSettings;
class FolderMemory;
class ReportListModel;
class QStringListModel;
class View;

// Several documents checked in one go: a folder, files dropped together, the
// documents of a command line. Entry N's report and output are the numbered
// working files tidy_errN.txt and tidy_outN.txt, and entry N of the file
// selector names its document. Only entries whose Tidy run started are
// numbered, so selector index and file number always agree.
class TidyBatch {
public:
    TidyBatch(AppSettings &settings, View &view, TidyRun &tidyRun, ReportListModel &list,
              QStringListModel &fileSelector, FolderMemory &folders);

    // Checks one document (file or URL) as entry `entry`; the selector gets
    // the entry only when the outcome is Checked. Throws FunctionFailure.
    TidyRun::Outcome runTidyForEntry(const QString &document, int entry);

    // Shows entry `entry`: its report in the list and its output opened
    // (when the Tidy run opens outputs).
    void showEntryReport(int entry);

    // The folder batch on a chosen folder.
    void runFolder(const QString &folder);
    // Several dropped files, in the order received.
    void runFiles(const QStringList &files);

    // The abort button: the document in progress is finished, no other starts.
    void abort() { m_abort = true; }
    bool isRunning() const { return m_running; }

    // How many documents or folders the last batch could not check.
    int lastProblemCount() const { return m_lastProblemCount; }

private:
    // Runs the documents as entries 0, 1, … until the list ends or the abort
    // button is pressed.
    void runEntries(const QStringList &documents);
    void reportProblems();

    AppSettings &m_settings;
    View &m_view;
    TidyRun &m_tidyRun;
    ReportListModel &m_list;
    QStringListModel &m_fileSelector;
    FolderMemory &m_folders;
    bool m_abort = false;
    bool m_running = false;
    QStringList m_problems;
    int m_lastProblemCount = 0;
};
