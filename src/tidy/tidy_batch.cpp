#include "tidy_batch.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QScopeGuard>
#include <QStringListModel>
#include <new>

#include "core/app_settings.h"
#include "core/folder_memory.h"
#include "core/view.h"
#include "fetch/page_download.h"
#include "tidy/folder_search.h"
#include "tidy/report_list_model.h"

namespace {

const QString kNoFile = QStringLiteral("ファイルがありません。");
constexpr int kProblemsShown = 20;

}  // namespace

TidyBatch::TidyBatch(AppSettings &settings, View &view, TidyRun &tidyRun, ReportListModel &list,
                     QStringListModel &fileSelector, FolderMemory &folders)
    : m_settings(settings),
      m_view(view),
      m_tidyRun(tidyRun),
      m_list(list),
      m_fileSelector(fileSelector),
      m_folders(folders)
{
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
            if (m_running)
                m_problems << kNoFile + document;
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
    m_view.showPage(0);
}

void TidyBatch::runEntries(const QStringList &documents)
{
    m_view.setEnabled(Control::ToolBar1, false);
    m_view.setEnabled(Control::Button1, false);
    m_view.setEnabled(Control::BitBtn1, true);
    m_abort = false;
    m_running = true;
    m_tidyRun.holdControls(true);
    int entry = 0;
    // The end of a batch, however the loop ends. Entry 0 exists only when a
    // document was checked; otherwise tidy_err0.txt is a leftover of an
    // earlier run and must not be shown as this one's.
    const auto cleanup = qScopeGuard([this, &entry] {
        m_running = false;
        m_tidyRun.holdControls(false);
        m_view.showProgress(0, 0);
        if (entry > 0) {
            m_view.showStatus(QString(), false);
            showEntryReport(0);
        } else {
            m_view.showStatus(QStringLiteral("チェックした文書はありません。"), true);
        }
        m_view.setEnabled(Control::ToolBar1, true);
        m_view.setEnabled(Control::Button1, true);
        m_view.setEnabled(Control::BitBtn1, false);
        reportProblems();
    });

    const int count = int(documents.size());
    try {
        for (int i = 0; i < count && !m_abort; ++i) {
            const TidyRun::Outcome outcome = runTidyForEntry(documents.at(i), entry);
            if (outcome == TidyRun::Outcome::Checked)
                ++entry;
            else if (outcome == TidyRun::Outcome::TidyMissing)
                break;  // every further document would fail the same way
            m_view.showStatus(QStringLiteral("%1/%2を処理中...").arg(i + 1).arg(count), false);
            m_view.showProgress(i + 1, count);
            // Lets the abort button and the window react between documents.
            QCoreApplication::processEvents();
        }
    } catch (const std::bad_alloc &) {
        m_problems << QStringLiteral("メモリが足りないため、一括チェックを中断しました。");
    }
}

void TidyBatch::reportProblems()
{
    m_lastProblemCount = int(m_problems.size());
    if (m_problems.isEmpty())
        return;
    QStringList lines = m_problems.mid(0, kProblemsShown);
    if (m_problems.size() > kProblemsShown)
        lines << QStringLiteral("ほか%1件").arg(m_problems.size() - kProblemsShown);
    m_view.notice(QStringLiteral("チェックできなかったものがあります。\n") + lines.join(u'\n'));
    m_problems.clear();
}
