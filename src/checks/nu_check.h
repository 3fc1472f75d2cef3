#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>
#include <memory>

#include "tidy/report_parser.h"

struct AppSettings;
class FolderMemory;
class HttpClient;
class QProcess;
class QStringListModel;
class ReportListModel;
class View;

// The HTML5 check: the Nu Html Checker (vnu.jar) on this machine checks
// files, folders and downloaded pages, all of them in one Java process. The
// window stays responsive while it runs; its answer fills the "HTML5" page,
// one selector entry per checked document.
class NuCheck : public QObject {
    Q_OBJECT
public:
    static constexpr int kPage = 5;  // the "HTML5" page
    // vnu's answer is read up to this size; a larger one is refused.
    static constexpr qint64 kAnswerCap = 64LL * 1024 * 1024;

    struct Document {
        QString name;  // as the selector shows it: the path, or the URL of a download
        QString file;  // the file vnu checked
        QVector<ReportRow> rows;
    };

    NuCheck(AppSettings &settings, View &view, HttpClient &http, FolderMemory &folders,
            ReportListModel &list, QStringListModel &selector, QObject *parent = nullptr);
    ~NuCheck() override;

    void setAnswerCap(qint64 bytes) { m_answerCap = bytes; }

    // The menu's commands: a file, a folder (asked for here).
    void nuExecute();
    void folderExecute();

    // Files, folders (their *.htm* files, sub-folders as the batch setting
    // says) and http URLs (downloaded first). Returns true when the checker
    // was started; the run ends with finished().
    bool checkDocuments(const QStringList &documents);
    // A page a browser showed: its local file, and the address shown for it.
    bool checkPage(const QString &file, const QString &name);

    // "中止(&A)": the checker is stopped, nothing of its answer is shown.
    void abort();
    bool isRunning() const { return m_running; }
    // Shows a checked document's rows.
    void showEntry(int entry);

    // The documents of the last run that were checked, in selector order.
    const QVector<Document> &documents() const { return m_documents; }
    // What could not be checked in the last run (documents, or the run as a
    // whole: no Java, no vnu.jar, a damaged answer, an abort).
    const QStringList &problems() const { return m_problems; }
    // The Java processes started so far.
    int processStarts() const { return m_starts; }

Q_SIGNALS:
    void runningChanged(bool running);
    void finished();

private:
    struct Entry {
        QString document;  // as given
        QString name;      // as shown
    };
    bool checkEntries(const QVector<Entry> &entries);
    bool prepare(const QVector<Entry> &entries);
    void startChecker(const QString &java, const QString &jar);
    void readAnswer();
    void processEnded();
    void setRunning(bool running);
    // Ends a run that produced no answer: one message row.
    void fail(const QString &message);
    void showResults();
    void reportProblems();

    AppSettings &m_settings;
    View &m_view;
    HttpClient &m_http;
    FolderMemory &m_folders;
    ReportListModel &m_list;
    QStringListModel &m_selector;
    std::unique_ptr<QProcess> m_process;
    QVector<Document> m_documents;
    QStringList m_problems;
    QByteArray m_answer;
    qint64 m_answerCap = kAnswerCap;
    bool m_running = false;
    bool m_aborted = false;
    bool m_tooLarge = false;
    int m_starts = 0;
};
