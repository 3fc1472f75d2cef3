#include "tidy_batch.h"

#include <QFile>
#include <QFileInfo>
#include <QStringListModel>
#include <QScopeGuard>
#include <QThread>
#include <algorithm>
#include <new>

#include "core/app_settings.h"
#include "core/folder_memory.h"
#include "core/problem_notice.h"
#include "core/view.h"
#include "fetch/page_download.h"
#include "platform/ini_file.h"
#include "platform/process_runner.h"
#include "platform/program_folder.h"
#include "tidy/folder_search.h"
#include "tidy/report_list_model.h"

namespace {

const QString kNoFile = QStringLiteral("ファイルがありません。");
const QString kTidyMissing = QStringLiteral("Tidyが見当たりません");

// The working files of the document at a place in the list, until it
// becomes an entry. They match tidy_*.txt, so the next run clears leftovers.
QString placeFile(int place, const char *part)
{
    return ProgramFolder::workDir() +
           QStringLiteral("tidy_job%1_%2.txt").arg(place).arg(QLatin1String(part));
}

void moveFile(const QString &from, const QString &to)
{
    QFile::remove(to);
    QFile::rename(from, to);
}

}  // namespace

struct TidyBatch::Document {
    enum class State { Waiting, Running, Done };

    QString name;         // as listed
    QString displayName;  // the address of a downloaded page
    QString folder;       // remembered once it is an entry
    State state = State::Waiting;
    TidyRun::Outcome outcome = TidyRun::Outcome::Checked;
    QString row;          // the message row shown in its turn
    QString problem;      // its line in the closing notice
    QString failure;      // the general error display, when Tidy could not start
    bool exclusive = false;
    TidyCommand command;
};

TidyBatch::TidyBatch(AppSettings &settings, View &view, TidyRun &tidyRun, ProcessRunner &runner,
                     ReportListModel &list, QStringListModel &fileSelector, FolderMemory &folders)
    : m_settings(settings),
      m_view(view),
      m_tidyRun(tidyRun),
      m_runner(runner),
      m_list(list),
      m_fileSelector(fileSelector),
      m_folders(folders)
{
}

TidyBatch::~TidyBatch() = default;

int TidyBatch::jobCount() const
{
    const int jobs =
        IniFile(ProgramFolder::iniPath()).readInt(QStringLiteral("Tidy"), QStringLiteral("Jobs"), 0);
    return jobs > 0 ? jobs : std::max(1, QThread::idealThreadCount());
}

TidyRun::Outcome TidyBatch::runTidyForEntry(const QString &document, int entry)
{
    // A batch keeps the controls disabled until its last document.
    const auto restore = qScopeGuard([this] {
        m_view.setBusy(false);
        if (!m_running) {
            m_view.setEnabled(Control::ToolBar1, true);
            m_view.setEnabled(Control::Button1, true);
        }
    });

    QString file = document;
    QString displayName;
    QString folder;
    switch (classifyDocument(document)) {
    case DocumentKind::Local:
        if (!QFileInfo(document).isFile()) {
            m_view.showPage(0);
            m_list.showMessageRow(kNoFile + document);
            return TidyRun::Outcome::NoDocument;
        }
        folder = QFileInfo(document).absolutePath();
        break;
    case DocumentKind::OtherProtocol:
        m_view.showPage(0);
        m_list.showMessageRow(QStringLiteral("HTTP以外のプロトコルには対応していません。") +
                              document);
        [[fallthrough]];
    case DocumentKind::Http: {
        if (!m_tidyRun.download(document, TidyRun::numberedFetchedPath())) {
            // The last page's report must not read as this address's result.
            if (classifyDocument(document) == DocumentKind::Http) {
                m_view.showPage(0);
                m_list.showMessageRow(kPageFetchFailed + document);
            }
            if (m_running)
                m_problems << kPageFetchFailed + document;
            return TidyRun::Outcome::FetchFailed;
        }
        file = TidyRun::numberedFetchedPath();
        displayName = document;
        // The folder part of a URL is the text through its last colon; the
        // dialogs ignore it as it names no folder.
        folder = document.left(document.lastIndexOf(u':') + 1);
        break;
    }
    }

    if (!m_tidyRun.executeTidyNumbered(file, entry, displayName))
        return TidyRun::Outcome::TidyMissing;
    m_view.showPage(0);
    const int row = m_fileSelector.rowCount();
    m_fileSelector.insertRows(row, 1);
    m_fileSelector.setData(m_fileSelector.index(row), document);
    m_view.selectFileEntry(0);
    m_folders.store(folder);
    return TidyRun::Outcome::Checked;
}

void TidyBatch::showEntryReport(int entry)
{
    m_tidyRun.presentReport(TidyRun::numberedReportPath(entry), TidyRun::numberedOutputPath(entry),
                            QStringLiteral("出力はありませんでした。"));
}

void TidyBatch::runFolder(const QString &folder)
{
    const FolderSearch found = collectFiles(folder, m_settings.includeSubfolders);
    m_list.clear();
    m_fileSelector.setStringList({});
    m_problems = found.unreadable;
    if (found.files.isEmpty()) {
        m_list.showMessageRow(QStringLiteral("HTMLファイルが見つかりませんでした。"));
        reportProblems();
        return;
    }
    TidyRun::deleteWorkFiles(QStringLiteral("tidy_*.txt"));
    m_view.showPage(0);
    runEntries(found.files);
}

void TidyBatch::runFiles(const QStringList &files)
{
    m_fileSelector.setStringList({});
    m_problems.clear();
    runEntries(files);
}

void TidyBatch::runEntries(const QStringList &documents)
{
    m_view.setEnabled(Control::ToolBar1, false);
    m_view.setEnabled(Control::Button1, false);
    m_view.setEnabled(Control::BitBtn1, true);
    m_view.setBusy(true);
    m_abort = false;
    m_stop = false;
    m_exclusive = false;
    m_running = true;
    m_tidyRun.holdControls(true);
    m_documents.clear();
    m_documents.resize(documents.size());
    for (qsizetype i = 0; i < documents.size(); ++i)
        m_documents[size_t(i)].name = documents.at(i);
    m_started = m_committed = m_entries = m_runningJobs = 0;
    m_jobLimit = jobCount();
    m_jobs = std::make_unique<QObject>();
    advance();
}

void TidyBatch::advance()
{
    // A notice shown while committing may let a finished run call back in;
    // the loop below picks its result up.
    if (m_advancing || !m_running)
        return;
    m_advancing = true;
    const int count = int(m_documents.size());
    try {
        for (;;) {
            if (m_committed < m_started &&
                m_documents[size_t(m_committed)].state == Document::State::Done) {
                commit(m_documents[size_t(m_committed)]);
                ++m_committed;
                continue;
            }
            const bool mayStart = !m_abort && !m_stop && !m_exclusive && m_started < count &&
                                  m_runningJobs < m_jobLimit;
            if (!mayStart)
                break;
            // A page to download goes alone: its working file is shared and
            // the download's messages come in their turn.
            Document &next = m_documents[size_t(m_started)];
            next.exclusive = classifyDocument(next.name) != DocumentKind::Local;
            if (next.exclusive && (m_runningJobs > 0 || m_committed < m_started))
                break;
            ++m_started;
            start(next, m_started - 1);
        }
    } catch (const std::bad_alloc &) {
        m_problems << QStringLiteral("メモリが足りないため、一括チェックを中断しました。");
        m_stop = true;
    }
    m_advancing = false;
    if (m_runningJobs == 0 && m_committed == m_started &&
        (m_started == count || m_abort || m_stop))
        finish();
}

void TidyBatch::start(Document &document, int place)
{
    document.state = Document::State::Done;
    QString file = document.name;
    switch (classifyDocument(document.name)) {
    case DocumentKind::Local:
        if (!QFileInfo(file).isFile()) {
            document.outcome = TidyRun::Outcome::NoDocument;
            document.row = document.problem = kNoFile + file;
            return;
        }
        document.folder = QFileInfo(file).absolutePath();
        break;
    case DocumentKind::OtherProtocol:
        m_view.showPage(0);
        m_list.showMessageRow(QStringLiteral("HTTP以外のプロトコルには対応していません。") +
                              document.name);
        [[fallthrough]];
    case DocumentKind::Http:
        if (!m_tidyRun.download(document.name, TidyRun::numberedFetchedPath())) {
            document.outcome = TidyRun::Outcome::FetchFailed;
            document.problem = kPageFetchFailed + document.name;
            return;
        }
        file = TidyRun::numberedFetchedPath();
        document.displayName = document.name;
        // The folder part of a URL is the text through its last colon; the
        // dialogs ignore it as it names no folder.
        document.folder = document.name.left(document.name.lastIndexOf(u':') + 1);
        break;
    }

    if (!m_tidyRun.tidyFound()) {
        document.outcome = TidyRun::Outcome::TidyMissing;
        document.row = kTidyMissing;
        m_stop = true;  // every further document would fail the same way
        return;
    }
    const QString title = document.displayName.isEmpty() ? file : document.displayName;
    if (!m_tidyRun.prepareTidy(file, placeFile(place, "out"), placeFile(place, "err"), title,
                               &document.command))
        return;  // unreadable: its report says so

    document.state = Document::State::Running;
    m_exclusive = document.exclusive;
    ++m_runningJobs;
    const TidyCommand &c = document.command;
    m_runner.startToFiles(c.program, c.arguments, c.outFile, c.stderrFile, m_jobs.get(),
                          [this, place](const ProcessRunner::Result &result) {
                              Document &done = m_documents[size_t(place)];
                              try {
                                  m_tidyRun.finishTidy(done.command, result);
                              } catch (const FunctionFailure &failure) {
                                  done.outcome = TidyRun::Outcome::TidyMissing;
                                  done.failure = failure.message();
                              } catch (const std::bad_alloc &) {
                                  m_problems << QStringLiteral(
                                      "メモリが足りないため、一括チェックを中断しました。");
                                  m_stop = true;
                              }
                              done.state = Document::State::Done;
                              if (done.exclusive)
                                  m_exclusive = false;
                              --m_runningJobs;
                              advance();
                          });
}

void TidyBatch::commit(Document &document)
{
    const int place = int(&document - m_documents.data());
    if (!document.problem.isEmpty())
        m_problems << document.problem;
    if (!document.row.isEmpty()) {
        m_view.showPage(0);
        m_list.showMessageRow(document.row);
    }
    if (!document.failure.isEmpty())
        m_view.showError(document.failure);
    if (document.outcome == TidyRun::Outcome::TidyMissing && document.failure.isEmpty())
        return;  // the batch ends here, as it would have one at a time

    if (document.outcome == TidyRun::Outcome::Checked) {
        const int entry = m_entries++;
        moveFile(placeFile(place, "out"), TidyRun::numberedOutputPath(entry));
        moveFile(placeFile(place, "err"), TidyRun::numberedReportPath(entry));
        m_view.showPage(0);
        const int row = m_fileSelector.rowCount();
        m_fileSelector.insertRows(row, 1);
        m_fileSelector.setData(m_fileSelector.index(row), document.name);
        m_view.selectFileEntry(0);
        m_folders.store(document.folder);
    }
    document.command = TidyCommand();
    const int count = int(m_documents.size());
    m_view.showStatus(QStringLiteral("%1/%2を処理中...").arg(place + 1).arg(count), false);
    m_view.showProgress(place + 1, count);
}

void TidyBatch::finish()
{
    // Entry 0 exists only when a document was checked; otherwise
    // tidy_err0.txt is a leftover of an earlier run and must not be shown as
    // this one's.
    m_running = false;
    // Called back from one of the processes, which must outlive the call.
    if (m_jobs)
        m_jobs.release()->deleteLater();
    m_documents.clear();
    m_tidyRun.holdControls(false);
    m_view.showProgress(0, 0);
    if (m_entries > 0) {
        m_view.showStatus(QString(), false);
        showEntryReport(0);
    } else {
        m_view.showStatus(QStringLiteral("チェックした文書はありません。"), true);
    }
    m_view.showPage(0);
    m_view.setBusy(false);
    m_view.setEnabled(Control::ToolBar1, true);
    m_view.setEnabled(Control::Button1, true);
    m_view.setEnabled(Control::BitBtn1, false);
    reportProblems();
    Q_EMIT finished();
}

void TidyBatch::shutdown()
{
    m_abort = true;
    if (!m_running)
        return;
    m_jobs.reset();  // ends the processes; their results are not wanted
    m_running = false;
    m_runningJobs = 0;
    m_documents.clear();
    m_tidyRun.holdControls(false);
    Q_EMIT finished();
}

void TidyBatch::reportProblems()
{
    m_lastProblemCount = int(m_problems.size());
    noticeProblems(m_view, m_problems);
    m_problems.clear();
}
