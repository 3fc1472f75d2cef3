#include "link_check.h"

#include <QFileInfo>
#include <QUrl>
#include <QVector>

#include "core/document_kind.h"
#include "core/folder_memory.h"
#include "core/message_list_model.h"
#include "core/view.h"
#include "checks/link_scan.h"
#include "checks/link_verifier.h"
#include "checks/link_worker.h"
#include "fetch/http_client.h"
#include "fetch/page_download.h"
#include "html/tag_scanner.h"
#include "platform/program_folder.h"

namespace {

const QString kFinished = QStringLiteral("リンクチェックが終了しました。");
const QString kNoLinks = QStringLiteral("A要素のHref属性、またはIMG要素がありません。");
const QString kNoFile = QStringLiteral("ファイルがありません。");
const QString kOtherProtocol = QStringLiteral("HTTP以外のプロトコルには対応していません。");
const QString kChecking = QStringLiteral("をチェック中...");
const QString kHtmlFilter = QStringLiteral("HTMLファイル (*.htm;*.html)|*.htm;*.html");
constexpr int kLinkPage = 2;
// From this many rows on, the two workers verify the list.
constexpr int kWorkerRows = 11;

// The folder of a page URL: up to and including its last "/". A URL without
// a "/" after its host gets one, so relative links still find the host.
QString webBase(const QString &url)
{
    if (url.endsWith(u'/')) return url;
    const qsizetype slash = url.lastIndexOf(u'/');
    const qsizetype hostStart = url.indexOf(QStringLiteral("//"));
    if (slash < 0 || (hostStart >= 0 && slash <= hostStart + 1)) return url + u'/';
    return url.left(slash + 1);
}

QString fetchErrorText(const HttpClient::Response &response)
{
    if (response.status >= 400)
        return QStringLiteral("HTTP/1.0 %1 %2").arg(response.status).arg(response.reason);
    return response.reason.isEmpty() ? kPageFetchFailed : response.reason;
}

}  // namespace

// Marks a step of a check; the outermost one ends the check.
class LinkCheck::Run {
public:
    explicit Run(LinkCheck &check) : m_check(check) { m_check.beginRun(); }
    ~Run() { m_check.endRun(); }
    Run(const Run &) = delete;
    Run &operator=(const Run &) = delete;

private:
    LinkCheck &m_check;
};

LinkCheck::LinkCheck(View &view, MessageListModel &linkList, HttpClient &http,
                     FolderMemory &folders, QObject *parent)
    : QObject(parent), m_view(view), m_list(linkList), m_http(http), m_folders(folders)
{
}

LinkCheck::~LinkCheck()
{
    shutdown();
}

bool LinkCheck::isRunning() const
{
    return m_active;
}

bool LinkCheck::beginRun()
{
    ++m_depth;
    if (m_active) return false;
    m_active = true;
    m_view.setEnabled(Control::LinkCheckAction, false);
    return true;
}

void LinkCheck::endRun()
{
    --m_depth;
    if (m_depth > 0 || m_mlink || m_mlink2) return;
    endCheck();
}

void LinkCheck::endCheck()
{
    if (!m_active) return;
    m_active = false;
    if (m_shutDown) return;
    m_view.setEnabled(Control::LinkCheckAction, true);
    Q_EMIT finished();
}

void LinkCheck::startRunningControls()
{
    m_linkAbort = false;
    m_view.showPage(kLinkPage);
    m_view.setEnabled(Control::Button3, false);
    m_view.setEnabled(Control::BitBtn2, true);
    m_view.setEnabled(Control::ToolBar1, false);
}

void LinkCheck::restoreControls()
{
    m_view.setEnabled(Control::Button3, true);
    m_view.setEnabled(Control::ToolBar1, true);
    m_view.setEnabled(Control::BitBtn2, false);
}

void LinkCheck::setFieldsForFile(const QString &file)
{
    // Absolute, so a relative name given on the command line still has a folder.
    m_linkBase = QFileInfo(file).absolutePath();
    m_linkDocument = file;
}

QString LinkCheck::workFile(const QString &name) const
{
    return ProgramFolder::workDir() + name;
}

QString LinkCheck::linkAt(int row) const
{
    return row >= 0 && row < m_list.rowCount() ? m_list.rows().at(row).first : QString();
}

void LinkCheck::linkCheckExecute()
{
    if (isRunning() || m_shutDown) return;
    const QString file = m_view.chooseOpenFile(m_folders.startDir(), kHtmlFilter);
    if (file.isEmpty()) return;
    m_folders.remember(file);
    Run run(*this);
    startRunningControls();
    if (classifyDocument(file) == DocumentKind::Local) setFieldsForFile(file);
    try {
        extractLinksNow(file, QString());
    } catch (const LinkCheckError &error) {
        restoreControls();
        m_view.showError(error.message);
        return;
    }
    m_view.bringToFront();
}

bool LinkCheck::checkLinksTarget(const QString &target)
{
    m_lastChecked = false;
    if (isRunning() || m_shutDown) return false;
    Run run(*this);
    startRunningControls();

    const DocumentKind kind = classifyDocument(target);
    if (kind == DocumentKind::Local) {
        if (!QFileInfo(target).isFile()) {
            m_view.showPage(kLinkPage);
            m_list.showMessageRow(kNoFile + target);
            restoreControls();
            return true;
        }
        setFieldsForFile(target);
        m_folders.remember(target);
        try {
            extractLinksNow(target, QString());
            m_lastChecked = true;
            m_view.bringToFront();
        } catch (const LinkCheckError &) {
            restoreControls();
        }
        return true;
    }

    if (kind == DocumentKind::OtherProtocol) {
        m_view.showPage(kLinkPage);
        m_list.showMessageRow(kOtherProtocol + QStringLiteral("\r\n") + target);
        restoreControls();
        return true;
    }

    m_linkDocument = target;
    m_linkBase = webBase(target);
    const QString copy = workFile(QStringLiteral("link_get2.html"));
    m_view.setBusy(true);
    const HttpClient::Response fetched = fetchAsLines(m_http, target, copy);
    m_view.setBusy(false);
    if (!fetched.ok) {
        restoreControls();
        m_view.showStatus(kPageFetchFailed, true);
        return true;
    }
    // After redirects, relative links count from the page they led to.
    if (fetched.url != QUrl::fromUserInput(target)) {
        m_linkDocument = fetched.url.toString();
        m_linkBase = webBase(m_linkDocument);
    }
    try {
        extractLinksNow(copy, m_linkDocument);
        m_lastChecked = true;
        m_view.bringToFront();
    } catch (const LinkCheckError &) {
        restoreControls();
    }
    return true;
}

void LinkCheck::fileDrop(const QStringList &files)
{
    if (files.isEmpty() || isRunning() || m_shutDown) return;
    Run run(*this);
    startRunningControls();
    const QString name = files.first();
    if (classifyDocument(name) == DocumentKind::Local) setFieldsForFile(name);
    try {
        extractLinksNow(name, QString());
    } catch (const LinkCheckError &) {
        restoreControls();
    }
}

void LinkCheck::linkListDblClick(int selectedRow)
{
    if (m_list.rowCount() == 0 || isRunning() || m_shutDown) return;
    Run run(*this);
    m_linkAbort = false;
    m_view.setEnabled(Control::Button3, false);
    m_view.setEnabled(Control::ToolBar1, false);
    m_view.setEnabled(Control::BitBtn2, true);
    if (selectedRow >= 0 && selectedRow < m_list.rowCount()) {
        try {
            if (classifyDocument(m_linkDocument) == DocumentKind::Local) {
                checkRowNow(m_linkDocument, selectedRow, QString());
            } else {
                const QString copy = workFile(QStringLiteral("link_get.html"));
                m_view.setBusy(true);
                const HttpClient::Response response = fetchAsLines(m_http, m_linkDocument, copy);
                m_view.setBusy(false);
                if (!response.ok) throw LinkCheckError{fetchErrorText(response)};
                checkRowNow(copy, selectedRow, m_linkDocument);
                m_view.bringToFront();
            }
        } catch (const LinkCheckError &error) {
            // The row keeps its status; the controls come back all the same.
            m_view.showError(error.message);
        }
    }
    restoreControls();
    m_linkAbort = false;
}

void LinkCheck::extractLinks(const QString &document, const QString &pageUrl)
{
    if (isRunning() || m_shutDown) return;
    Run run(*this);
    extractLinksNow(document, pageUrl);
}

void LinkCheck::checkLinks(const QString &document, const QString &pageUrl)
{
    if (isRunning() || m_shutDown) return;
    Run run(*this);
    checkLinksNow(document, pageUrl);
}

void LinkCheck::checkLinkRow(const QString &document, int row, const QString &pageUrl)
{
    if (isRunning() || m_shutDown) return;
    Run run(*this);
    checkRowNow(document, row, pageUrl);
    restoreControls();
}

void LinkCheck::extractLinksNow(const QString &document, const QString &pageUrl)
{
    QStringList links;
    {
        THtmlParser2 scanner;
        QString error;
        if (!scanner.loadFromFile(document, &error)) throw LinkCheckError{error};
        links = extractLinkTargets(scanner);
    }
    QVector<MessageListModel::Row> rows;
    rows.reserve(links.size());
    for (const QString &link : links) rows.append({link, LinkText::kUnchecked});
    m_list.setRows(std::move(rows));

    if (links.isEmpty()) {
        m_list.showMessageRow(kNoLinks);
        restoreControls();
        return;
    }
    if (links.size() >= kWorkerRows) {
        startWorkers(document, pageUrl);
        return;
    }
    try {
        checkLinksNow(document, pageUrl);
    } catch (const LinkCheckError &) {
        restoreControls();
        throw;
    }
    restoreControls();
}

void LinkCheck::checkLinksNow(const QString &document, const QString &pageUrl)
{
    const int total = m_list.rowCount();
    if (total == 0) return;
    m_view.setBusy(true);
    LinkVerifier verifier({&m_http, workFile(QStringLiteral("link_get.html")), m_linkBase,
                           &m_linkAbort, nullptr, m_headDeadlineMs});
    try {
        for (int i = 0; i < total && !m_shutDown; ++i) {
            if (m_linkAbort) {
                m_list.setSecond(i, LinkText::kAborted);
            } else {
                const QString link = linkAt(i);
                m_view.showStatus(link + kChecking + QStringLiteral(" %1/%2").arg(i + 1).arg(total),
                                  false);
                const QString status = verifier.checkOneLink(link, document, pageUrl);
                if (!m_shutDown) m_list.setSecond(i, status);
            }
            m_view.showProgress(i + 1, total);
        }
        // Rows that failed are verified once more; after an abort they read "中止".
        for (int i = 0; i < m_list.rowCount() && !m_shutDown; ++i) {
            if (m_list.rows().at(i).second != LinkText::kOk)
                checkRowNow(document, i, pageUrl, false);
        }
    } catch (const LinkBaseMissing &missing) {
        m_view.setBusy(false);
        m_view.showProgress(0, 0);
        throw LinkCheckError{missing.message};
    }
    m_view.setBusy(false);
    m_view.showProgress(0, 0);
    restoreControls();
    m_view.showStatus(kFinished, true);
}

bool LinkCheck::checkRowNow(const QString &document, int row, const QString &pageUrl, bool restore)
{
    const QString link = linkAt(row);
    m_view.setBusy(true);
    m_view.showStatus(link + kChecking, false);
    QString status = LinkText::kAborted;
    if (!m_linkAbort) {
        LinkVerifier verifier({&m_http, workFile(QStringLiteral("link_get.html")), m_linkBase,
                               &m_linkAbort, nullptr, m_headDeadlineMs});
        try {
            status = verifier.checkOneLink(link, document, pageUrl);
        } catch (const LinkBaseMissing &missing) {
            m_view.setBusy(false);
            throw LinkCheckError{missing.message};
        }
    }
    if (!m_shutDown) m_list.setSecond(row, status);
    m_view.setBusy(false);
    if (restore) restoreControls();
    if (status == LinkText::kAborted) {
        m_view.showStatus(QString(), false);
        return false;
    }
    m_view.showStatus(kFinished, true);
    return true;
}

void LinkCheck::startWorkers(const QString &document, const QString &pageUrl)
{
    const int total = m_list.rowCount();
    const int split = (total - 1) / 2 + 1;  // MLink: rows 0 .. (n - 1) / 2
    QStringList links;
    links.reserve(total);
    for (const MessageListModel::Row &row : m_list.rows()) links << row.first;

    LinkWorker::Job job;
    job.document = document;
    job.pageUrl = pageUrl;
    job.linkBase = m_linkBase;
    job.totalRows = total;
    job.headDeadlineMs = m_headDeadlineMs;
    job.linkAbort = &m_linkAbort;
    m_workerRowsDone = 0;
    m_workerRowsTotal = total;
    const quint64 serial = ++m_workerSerial;
    const auto apply = [this](int row, const QString &text) { applyFromWorker(row, text); };

    LinkWorker::Job first = job;
    first.firstRow = 0;
    first.links = links.mid(0, split);
    first.workFile = workFile(QStringLiteral("tidy_get2.html"));
    LinkWorker::Job second = job;
    second.firstRow = split;
    second.links = links.mid(split);
    second.workFile = workFile(QStringLiteral("tidy_get3.html"));

    m_mlink = std::make_unique<LinkWorker>(std::move(first), this, apply);
    m_mlink2 = std::make_unique<LinkWorker>(std::move(second), this, apply);
    for (LinkWorker *worker : {m_mlink.get(), m_mlink2.get()}) {
        connect(worker, &QThread::finished, this,
                [this, worker, serial] { linkWorkerDone(worker, serial); });
    }
    m_mlink->start();
    m_mlink2->start();
}

void LinkCheck::applyFromWorker(int row, const QString &text)
{
    if (m_shutDown) return;
    if (row < 0) {
        m_view.showStatus(text, false);
        return;
    }
    m_list.setSecond(row, text);
    m_view.showProgress(++m_workerRowsDone, m_workerRowsTotal);
}

void LinkCheck::linkWorkerDone(LinkWorker *worker, quint64 serial)
{
    if (serial != m_workerSerial || m_shutDown) return;
    for (std::unique_ptr<LinkWorker> *slot : {&m_mlink, &m_mlink2}) {
        if (slot->get() == worker) slot->reset();  // waits for the thread's last instructions
    }
    if (m_mlink || m_mlink2) return;
    m_view.bringToFront();
    m_view.showStatus(kFinished, true);
    m_view.showProgress(0, 0);
    restoreControls();
    if (m_depth == 0) endCheck();
}

void LinkCheck::abort()
{
    m_linkAbort = true;
    m_http.abort();
    m_view.setEnabled(Control::BitBtn2, false);
}

void LinkCheck::shutdown()
{
    if (m_shutDown) return;
    m_shutDown = true;
    m_linkAbort = true;
    m_http.abort();
    for (std::unique_ptr<LinkWorker> *slot : {&m_mlink, &m_mlink2}) {
        if (*slot) (*slot)->requestStop();
    }
    // Each worker ends at its next step; the destructor waits for that.
    m_mlink.reset();
    m_mlink2.reset();
    ++m_workerSerial;
    if (m_depth == 0) m_active = false;
}
