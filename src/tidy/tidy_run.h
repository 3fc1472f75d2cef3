#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

#include "core/document_kind.h"
#include "fetch/page_download.h"
#include "platform/process_runner.h"
#include "tidy/report_parser.h"

struct AppSettings;
class BrowserBridge;
class HttpClient;
class ReportListModel;
class SettingsStore;
class QStringListModel;
class View;

// Raised when an outside program cannot be started at all; it ends the
// action and reaches the general error display as "Function failure (...)".
struct FunctionFailure {
    QString commandLine;
    QString reason;
    QString message() const;
};

// One Tidy process for one document: what to run, and what its report
// needs once it has ended.
struct TidyCommand {
    QString program;
    QStringList arguments;
    QString outFile;      // the tidied document (standard output)
    QString errFile;      // the report (Tidy's -f file)
    QString stderrFile;   // anything Tidy still writes to standard error
    QString reportTitle;  // the report's first line names it, when not empty
    bool japanese = false;
};

// One document checked with HTML Tidy: a local file or an http URL. The
// report goes to the Tidy result list and the tidied document to the user's
// editor, or both go to a browser as one result text.
class TidyRun {
public:
    enum class Outcome {
        Checked,      // Tidy ran and its report is in the list
        NoDocument,   // no such file
        FetchFailed,  // the URL could not be downloaded
        TidyMissing,  // no Tidy executable at the configured path
    };

    TidyRun(AppSettings &settings, SettingsStore &store, View &view, ProcessRunner &runner,
            HttpClient &http, BrowserBridge &browsers, ReportListModel &list,
            QStringListModel &fileSelector);

    // Whether the tidied output is opened for the user (the window) or only
    // left in the working folder (the console program).
    void setOpensOutput(bool opens) { m_opensOutput = opens; }
    // While a batch runs, the toolbar stays disabled between its documents.
    void holdControls(bool hold) { m_holdControls = hold; }

    // Checks a document. With showInBrowser the results go to the browser of
    // that index as one text file instead. Throws FunctionFailure.
    Outcome run(const QString &document, bool showInBrowser = false, int browserIndex = 0);

    // Starts Tidy for a local file and waits for it; false when there is no
    // Tidy to start. Throws FunctionFailure when the process cannot start.
    bool executeTidy(const QString &document);
    // The same for entry `entry` of a multi-document run: numbered working
    // files, nothing deleted, and the report headed by the display name (the
    // URL of a downloaded page) or else the file.
    bool executeTidyNumbered(const QString &file, int entry, const QString &displayName);

    // Whether the configured Tidy exists; writes a missing Velmarin.txt.
    bool tidyFound();
    // Readies the run of Tidy on a local file, to the given working files.
    // False when there is nothing to run: the document cannot be read, and
    // its report already says so.
    bool prepareTidy(const QString &document, const QString &outFile, const QString &errFile,
                     const QString &reportTitle, TidyCommand *command);
    // Completes the report of a run that has ended: Tidy's standard error
    // after its report, the title first, the lines translated, a failure
    // said. Throws FunctionFailure when the process could not start.
    // When the report file is written here and rows is given, the rows of
    // the list are read from the same text at the same time; true then.
    bool finishTidy(const TidyCommand &command, const ProcessRunner::Result &result,
                    QVector<ReportRow> *rows = nullptr);

    // downloadForCheck with the run's client and view.
    bool download(const QString &url, const QString &file)
    {
        return downloadForCheck(m_http, m_view, url, file);
    }

    // Shows a report file in the list and opens the tidied output for the
    // user; an empty output only says noOutputText in the status line.
    void presentReport(const QString &reportFile, const QString &outputFile,
                       const QString &noOutputText);

    // Deletes the working files matching a pattern ("tidy_*.txt").
    static void deleteWorkFiles(const QString &pattern);

    // The working files of the last single-document run.
    static QString outputPath();                   // tidy_out.txt
    static QString reportPath();                   // tidy_err.txt
    static QString fetchedPath();                  // tidy_get.html
    static QString resultPath();                   // Tidy_Result.txt
    static QString numberedOutputPath(int entry);  // tidy_outN.txt
    static QString numberedReportPath(int entry);  // tidy_errN.txt
    static QString numberedFetchedPath();          // tidy_get2.html

    // The combined result text shown in a browser, built from the two files.
    static QString browserResultText(const QString &document, const QString &reportFile,
                                     const QString &outputFile);

private:
    bool startTidy(const QString &document, const QString &outFile, const QString &errFile,
                   bool deleteOldReports, const QString &reportTitle);
    void presentInWindow();
    void presentInBrowser(const QString &document, int browserIndex);

    AppSettings &m_settings;
    SettingsStore &m_store;
    View &m_view;
    ProcessRunner &m_runner;
    HttpClient &m_http;
    BrowserBridge &m_browsers;
    ReportListModel &m_list;
    QStringListModel &m_fileSelector;
    bool m_opensOutput = true;
    bool m_holdControls = false;
    // The rows of the report just written by a single run, so the list need
    // not read and decode a large file back; taken by the next presentReport().
    struct WrittenReport {
        QString path;
        qint64 size = -1;
        QVector<ReportRow> rows;
    } m_written;
};
