#include "nu_check.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QSet>
#include <QStringListModel>
#include <QUrl>

#include "checks/nu_location.h"
#include "checks/nu_report.h"
#include "core/app_settings.h"
#include "core/document_kind.h"
#include "core/folder_memory.h"
#include "core/problem_notice.h"
#include "core/view.h"
#include "fetch/page_download.h"
#include "platform/program_folder.h"
#include "tidy/folder_search.h"
#include "tidy/report_list_model.h"
#include "tidy/tidy_run.h"

namespace {

const QString kHtmlFilter = QStringLiteral(
    "HTMLファイル (*.htm;*.html)|*.htm;*.html|全てのファイル|*.*");
constexpr int kQuotedAnswer = 200;

QString cleanAbsolute(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

QString capText(qint64 bytes)
{
    constexpr qint64 mib = 1024 * 1024;
    return bytes >= mib ? QStringLiteral("%1 MiB").arg(bytes / mib)
                        : QStringLiteral("%1 バイト").arg(bytes);
}

// The start of an answer that is no JSON, for the user to see why: Java's
// own complaint ("Error: Unable to access jarfile …") comes first.
QString answerStart(const QByteArray &answer)
{
    const QString text = QString::fromUtf8(answer.left(4 * kQuotedAnswer)).trimmed();
    if (text.isEmpty())
        return QStringLiteral("(答えは空でした)");
    QString line = text.section(u'\n', 0, 0).trimmed();
    if (line.size() > kQuotedAnswer)
        line = line.left(kQuotedAnswer) + QStringLiteral("…");
    return QStringLiteral("「") + line + QStringLiteral("」");
}

}  // namespace

NuCheck::NuCheck(AppSettings &settings, View &view, HttpClient &http, FolderMemory &folders,
                 ReportListModel &list, QStringListModel &selector, QObject *parent)
    : QObject(parent),
      m_settings(settings),
      m_view(view),
      m_http(http),
      m_folders(folders),
      m_list(list),
      m_selector(selector)
{
}

NuCheck::~NuCheck()
{
    if (m_process) {
        m_process->disconnect(this);
        m_process->kill();
        m_process->waitForFinished(2000);
    }
}

void NuCheck::nuExecute()
{
    if (m_running)
        return;
    const QString file = m_view.chooseOpenFile(m_folders.startDir(), kHtmlFilter);
    if (file.isEmpty())
        return;
    m_folders.remember(file);
    checkDocuments({file});
}

void NuCheck::folderExecute()
{
    if (m_running)
        return;
    QString start = m_folders.startDir();
    if (start.isEmpty())
        start = QDir::homePath();
    const QString folder = m_view.chooseFolder(start);
    if (folder.isEmpty())
        return;
    m_folders.remember(folder.endsWith(u'/') ? folder : folder + u'/');
    checkDocuments({folder});
}

bool NuCheck::checkDocuments(const QStringList &documents)
{
    QVector<Entry> entries;
    for (const QString &document : documents)
        entries.append({document, document});
    return checkEntries(entries);
}

bool NuCheck::checkPage(const QString &file, const QString &name)
{
    return checkEntries({{file, name}});
}

bool NuCheck::checkEntries(const QVector<Entry> &entries)
{
    if (m_running)
        return false;
    m_aborted = false;
    m_tooLarge = false;
    m_documents.clear();
    m_problems.clear();
    m_answer.clear();
    m_selector.setStringList({});
    m_list.clear();
    m_view.showPage(kPage);
    setRunning(true);

    // Nothing is downloaded or started without both parts of the checker.
    const QString jar = NuLocation::jarPath();
    if (jar.isEmpty()) {
        fail(NuLocation::missingJarMessage());
        return false;
    }
    const QString java = NuLocation::javaPath();
    if (java.isEmpty()) {
        fail(NuLocation::missingJavaMessage());
        return false;
    }
    if (!prepare(entries)) {
        fail(m_aborted ? QStringLiteral("HTML5チェックを中止しました。")
                       : QStringLiteral("チェックした文書はありません。"));
        return false;
    }
    startChecker(java, jar);
    return true;
}

bool NuCheck::prepare(const QVector<Entry> &entries)
{
    TidyRun::deleteWorkFiles(QStringLiteral("nu_get*.html"));
    QSet<QString> seen;
    const auto add = [&](const QString &file, const QString &name) {
        const QString path = cleanAbsolute(file);
        if (seen.contains(path))
            return;
        seen.insert(path);
        Document document{name, path, {}};
        document.rows.append({QString(), QString(), QStringLiteral("情報: チェックしたHTML: ") + name,
                              ReportKind::Information});
        m_documents.append(document);
    };
    int downloads = 0;
    for (const Entry &entry : entries) {
        if (m_aborted)
            break;
        const QString &document = entry.document;
        switch (classifyDocument(document)) {
        case DocumentKind::Local: {
            const QFileInfo info(document);
            if (info.isDir()) {
                const FolderSearch found =
                    collectFiles(document, m_settings.includeSubfolders);
                m_problems << found.unreadable;
                if (found.files.isEmpty())
                    m_problems << QStringLiteral("HTMLファイルが見つかりませんでした。") + document;
                for (const QString &file : found.files)
                    add(file, file);
            } else if (info.isFile()) {
                add(document, entry.name);
            } else {
                m_problems << QStringLiteral("ファイルがありません。") + document;
            }
            break;
        }
        case DocumentKind::Http: {
            const QString file =
                ProgramFolder::workDir() + QStringLiteral("nu_get%1.html").arg(downloads++);
            if (downloadForCheck(m_http, m_view, document, file))
                add(file, entry.name);
            else
                m_problems << kPageFetchFailed + document;
            break;
        }
        case DocumentKind::OtherProtocol:
            m_problems << QStringLiteral("HTTP以外のプロトコルには対応していません。") + document;
            break;
        }
    }
    // vnu passes over a file that is gone without a word.
    for (qsizetype i = m_documents.size() - 1; i >= 0; --i) {
        if (!QFileInfo(m_documents.at(i).file).isFile()) {
            m_problems << QStringLiteral("ファイルがありません。") + m_documents.at(i).name;
            m_documents.remove(i);
        }
    }
    return !m_aborted && !m_documents.isEmpty();
}

void NuCheck::startChecker(const QString &java, const QString &jar)
{
    QStringList files;
    for (const Document &document : m_documents)
        files << document.file;
    m_process = std::make_unique<QProcess>();
    m_process->setProgram(java);
    m_process->setArguments(NuLocation::arguments(jar, files));
    m_process->setStandardInputFile(QProcess::nullDevice());
    m_process->setStandardOutputFile(QProcess::nullDevice());
    connect(m_process.get(), &QProcess::readyReadStandardError, this, &NuCheck::readAnswer);
    connect(m_process.get(), &QProcess::finished, this, &NuCheck::processEnded);
    connect(
        m_process.get(), &QProcess::errorOccurred, this,
        [this](QProcess::ProcessError error) {
            if (error == QProcess::FailedToStart)
                processEnded();
        },
        Qt::QueuedConnection);
    ++m_starts;
    m_view.showStatus(QStringLiteral("HTML5チェック中...(%1件)").arg(m_documents.size()), false);
    m_process->start();
}

void NuCheck::readAnswer()
{
    if (!m_process)
        return;
    const QByteArray piece = m_process->readAllStandardError();
    if (m_tooLarge)
        return;
    if (m_answer.size() + piece.size() > m_answerCap) {
        m_tooLarge = true;
        m_answer.clear();
        m_answer.squeeze();
        m_process->kill();
        return;
    }
    m_answer += piece;
}

void NuCheck::processEnded()
{
    if (!m_running || !m_process)
        return;
    readAnswer();
    QProcess *process = m_process.release();
    process->disconnect(this);
    process->deleteLater();

    if (m_aborted) {
        fail(QStringLiteral("HTML5チェックを中止しました。"));
        return;
    }
    if (process->error() == QProcess::FailedToStart) {
        fail(QStringLiteral("Javaを起動できませんでした(%1: %2)。")
                 .arg(process->program(), process->errorString()));
        return;
    }
    if (m_tooLarge) {
        fail(QStringLiteral("Nu Html Checkerの答えが大きすぎるため読みませんでした(%1まで)。")
                 .arg(capText(m_answerCap)));
        return;
    }
    const NuAnswer answer = readNuAnswer(m_answer);
    if (!answer.ok) {
        fail(QStringLiteral("Nu Html Checkerの答えを読めませんでした。") + answerStart(m_answer));
        return;
    }
    m_answer.clear();
    m_answer.squeeze();
    if (answer.damaged > 0)
        m_problems << QStringLiteral("Nu Html Checkerの答えに読めない部分がありました(%1か所)。"
                                     "読めたメッセージだけを表示します。")
                          .arg(answer.damaged);

    // Each message goes to the document vnu names; one that names none stays
    // with the document before it.
    QHash<QString, int> byPath;
    for (int i = 0; i < m_documents.size(); ++i)
        byPath.insert(m_documents.at(i).file, i);
    int current = 0;
    for (const NuMessage &message : answer.messages) {
        const QString path = QDir::cleanPath(QUrl(message.url).toLocalFile());
        current = byPath.value(path, current);
        m_documents[current].rows.append(message.row);
    }
    showResults();
}

void NuCheck::showResults()
{
    QStringList names;
    for (const Document &document : m_documents)
        names << document.name;
    m_selector.setStringList(names);
    showEntry(0);
    m_view.showPage(kPage);
    m_view.showStatus(QStringLiteral("HTML5チェックが終了しました。"), true);
    setRunning(false);
    reportProblems();
    Q_EMIT finished();
}

void NuCheck::reportProblems()
{
    noticeProblems(m_view, m_problems);
}

void NuCheck::fail(const QString &message)
{
    m_documents.clear();
    m_list.showMessageRow(message);
    m_view.showPage(kPage);
    m_view.showStatus(message, true);
    setRunning(false);
    // The documents that could not be checked are named too; the message
    // itself is the list's row.
    reportProblems();
    m_problems << message;
    Q_EMIT finished();
}

void NuCheck::abort()
{
    if (!m_running)
        return;
    m_aborted = true;
    m_http.abort();
    if (m_process)
        m_process->kill();
}

void NuCheck::showEntry(int entry)
{
    if (entry >= 0 && entry < m_documents.size())
        m_list.setRows(m_documents.at(entry).rows);
}

void NuCheck::setRunning(bool running)
{
    m_running = running;
    m_view.setEnabled(Control::ToolBar1, !running);
    Q_EMIT runningChanged(running);
}
