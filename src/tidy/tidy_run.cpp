#include "tidy_run.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringListModel>
#include <future>
#include <utility>

#include "core/app_settings.h"
#include "core/one_line.h"
#include "core/settings_store.h"
#include "core/view.h"
#include "fetch/http_client.h"
#include "fetch/page_download.h"
#include "platform/atomic_file.h"
#include "platform/browser_bridge.h"
#include "platform/process_runner.h"
#include "platform/program_folder.h"
#include "platform/text_codec.h"
#include "tidy/report_lines.h"
#include "tidy/report_list_model.h"
#include "tidy/report_parser.h"
#include "tidy/tidy_capabilities.h"
#include "tidy/tidy_report_ja.h"

namespace {

QString workFile(const QString &name)
{
    return ProgramFolder::workDir() + name;
}

bool isExistingFile(const QString &path)
{
    return !path.isEmpty() && QFileInfo(path).isFile();
}

// Shows the hourglass for the life of the object.
class BusyCursor {
public:
    explicit BusyCursor(View &view) : m_view(view) { m_view.setBusy(true); }
    ~BusyCursor() { m_view.setBusy(false); }

private:
    View &m_view;
};

// The file content as one block of the browser result text: it ends with a
// line break, so an empty line follows it in the saved file.
QString contentBlock(const QString &path)
{
    bool ok = false;
    QString text = TextCodec::decode(readWholeFile(path, &ok));
    if (!text.isEmpty() && !text.endsWith(u'\n') && !text.endsWith(u'\r'))
        text += QStringLiteral("\r\n");
    return text;
}

bool tidyAppendsMessageIds(const QString &tidyPath)
{
    const std::optional<TidyCapabilities> capabilities = queryTidyCapabilities(tidyPath);
    return capabilities && capabilities->knows(QStringLiteral("mute-id"));
}

QString quotedCommandLine(const QString &program, const QStringList &arguments)
{
    QStringList parts{u'"' + program + u'"'};
    for (const QString &a : arguments) parts << (a.startsWith(u'-') ? a : u'"' + a + u'"');
    return parts.join(u' ');
}

// The toolbar and the clear button come back however the run ends.
class ControlsEnabledAtEnd {
public:
    explicit ControlsEnabledAtEnd(View &view, bool enable = true) : m_view(view), m_enable(enable)
    {
    }
    ~ControlsEnabledAtEnd()
    {
        if (!m_enable) return;
        m_view.setEnabled(Control::ToolBar1, true);
        m_view.setEnabled(Control::Button1, true);
    }

private:
    View &m_view;
    bool m_enable;
};

}  // namespace

QString FunctionFailure::message() const
{
    return QStringLiteral("Function failure (%1)").arg(commandLine);
}

TidyRun::TidyRun(AppSettings &settings, SettingsStore &store, View &view, ProcessRunner &runner,
                 HttpClient &http, BrowserBridge &browsers, ReportListModel &list,
                 QStringListModel &fileSelector)
    : m_settings(settings),
      m_store(store),
      m_view(view),
      m_runner(runner),
      m_http(http),
      m_browsers(browsers),
      m_list(list),
      m_fileSelector(fileSelector)
{
}

QString TidyRun::outputPath()
{
    return workFile(QStringLiteral("tidy_out.txt"));
}
QString TidyRun::reportPath()
{
    return workFile(QStringLiteral("tidy_err.txt"));
}
QString TidyRun::fetchedPath()
{
    return workFile(QStringLiteral("tidy_get.html"));
}
QString TidyRun::resultPath()
{
    return workFile(QStringLiteral("Tidy_Result.txt"));
}
QString TidyRun::numberedOutputPath(int entry)
{
    return workFile(QStringLiteral("tidy_out%1.txt").arg(entry));
}
QString TidyRun::numberedReportPath(int entry)
{
    return workFile(QStringLiteral("tidy_err%1.txt").arg(entry));
}
QString TidyRun::numberedFetchedPath()
{
    return workFile(QStringLiteral("tidy_get2.html"));
}

bool TidyRun::executeTidy(const QString &document)
{
    // Old reports go first, the numbered ones of a multi-document run too.
    // A downloaded page's report is not headed by the working file's name.
    const bool fetched =
        QFileInfo(document).absoluteFilePath() == QFileInfo(fetchedPath()).absoluteFilePath();
    return startTidy(document, outputPath(), reportPath(), true, fetched ? QString() : document);
}

bool TidyRun::executeTidyNumbered(const QString &file, int entry, const QString &displayName)
{
    return startTidy(file, numberedOutputPath(entry), numberedReportPath(entry), false,
                     displayName.isEmpty() ? file : displayName);
}

bool TidyRun::tidyFound()
{
    if (!m_store.tidyConfigExists()) m_store.save();
    return isExistingFile(m_settings.tidyPath);
}

bool TidyRun::startTidy(const QString &document, const QString &outFile, const QString &errFile,
                        bool deleteOldReports, const QString &reportTitle)
{
    BusyCursor busy(m_view);
    const ControlsEnabledAtEnd enableAtEnd(m_view, !m_holdControls);

    if (!tidyFound()) {
        m_list.showMessageRow(QStringLiteral("Tidyが見当たりません"));
        return false;
    }
    if (deleteOldReports) deleteWorkFiles(QStringLiteral("tidy_*.txt"));

    TidyCommand command;
    if (!prepareTidy(document, outFile, errFile, reportTitle, &command)) return true;
    m_written = {};
    QVector<ReportRow> rows;
    if (finishTidy(command,
                   m_runner.runToFiles(command.program, command.arguments, command.outFile,
                                       command.stderrFile),
                   &rows))
        m_written = {QFileInfo(errFile).absoluteFilePath(), QFileInfo(errFile).size(),
                     std::move(rows)};
    return true;
}

bool TidyRun::prepareTidy(const QString &document, const QString &outFile, const QString &errFile,
                          const QString &reportTitle, TidyCommand *command)
{
    // Full paths throughout: a document named "-x.html" must not read as an option.
    const QString config = ProgramFolder::tidyConfigPath();
    const QString documentPath = QFileInfo(document).absoluteFilePath();

    // Tidy says nothing useful of a document it cannot open, and reports
    // success; such a document is reported here and Tidy is not run. (Only a
    // regular file is opened: opening a pipe would wait for a writer.)
    QFile probe(documentPath);
    if (!QFileInfo(documentPath).isFile() || !probe.open(QIODevice::ReadOnly)) {
        QStringList lines;
        if (!reportTitle.isEmpty())
            lines << QStringLiteral("情報: チェックしたHTML: ") + oneLine(reportTitle);
        lines << QStringLiteral("Error: ファイルを読めません。") + oneLine(documentPath);
        writeFileAtomically(outFile, QByteArray());
        writeFileAtomically(errFile, TextCodec::encodeLegacy(TextCodec::joinCrLf(lines)));
        return false;
    }
    probe.close();

    // The report goes to a file of Tidy's own (-f), written in large
    // blocks; to standard error Tidy writes a byte at a time. -f comes
    // before -config so that complaints about the configuration land in
    // the report too, in their place.
    command->program = m_settings.tidyPath;
    command->outFile = outFile;
    command->errFile = errFile;
    command->stderrFile = QFileInfo(errFile).path() + u'/' + QFileInfo(errFile).completeBaseName() +
                          QStringLiteral("_stderr.txt");
    command->reportTitle = reportTitle;
    // A Japanese report needs each message's id; a Tidy that cannot append
    // it still gets its kind words translated.
    command->japanese = m_settings.tidyJapanese;
    command->arguments =
        QStringList{QStringLiteral("-q"), QStringLiteral("-f"),
                    QFileInfo(errFile).absoluteFilePath(), QStringLiteral("-config"), config};
    if (command->japanese && tidyAppendsMessageIds(m_settings.tidyPath))
        command->arguments << QStringLiteral("--mute-id") << QStringLiteral("yes");
    command->arguments << documentPath;
    // Tidy creates its report file; a Tidy that dies first leaves none.
    QFile(errFile).open(QIODevice::WriteOnly | QIODevice::Truncate);
    return true;
}

bool TidyRun::finishTidy(const TidyCommand &command, const ProcessRunner::Result &result,
                         QVector<ReportRow> *rows)
{
    const QString &errFile = command.errFile;
    // What Tidy wrote to standard error before or besides its report file
    // (a wrapper script, a dying Tidy) follows the report.
    QByteArray stray = readWholeFile(command.stderrFile);
    QFile::remove(command.stderrFile);
    if (!result.started)
        throw FunctionFailure{quotedCommandLine(command.program, command.arguments),
                              result.errorText};

    QByteArray report = readWholeFile(errFile);
    const bool joined = !stray.isEmpty();
    if (joined) {
        if (!report.isEmpty() && !report.endsWith('\n') && !report.endsWith('\r')) report += "\r\n";
        report += stray;
    }
    stray.clear();

    // Tidy ends with 0, 1 (warnings) or 2 (errors) and says why. Another
    // status, or a failure without a word (nothing tidied, nothing
    // reported), is no clean report.
    const bool silentFailure =
        result.exitCode != 0 && QFileInfo(command.outFile).size() == 0 && report.isEmpty();
    const bool failed =
        result.crashed || result.exitCode < 0 || result.exitCode > 2 || silentFailure;

    // The report starts with the checked document's name; a failed run must
    // not look like a clean report.
    // Translated here, where the report file is made, so the list, the
    // saved text, the browser result and the console program all read the
    // same lines.
    const bool named = !command.reportTitle.isEmpty();
    const bool translate = command.japanese && !report.isEmpty();
    if (named || failed || translate) {
        // Line by line into one text: a large page's report has hundreds of
        // thousands of lines, and a list of them costs more than Tidy's run.
        const TidyMessageTemplates templates =
            translate ? queryTidyMessageTemplates(command.program) : TidyMessageTemplates();
        QString lines;
        lines.reserve(report.size() + report.size() / 8 + command.reportTitle.size() + 64);
        const QLatin1StringView crLf("\r\n");
        if (named)
            lines.append(QStringLiteral("情報: チェックしたHTML: ") + oneLine(command.reportTitle) +
                         crLf);
        appendReportLines(report, translate ? &templates : nullptr, &lines);
        report.clear();
        if (failed) lines.append(QStringLiteral("Error: Tidyが異常終了しました。") + crLf);
        // The file is encoded and written on a second core while the rows
        // are read from the same text here.
        std::future<bool> written = std::async(std::launch::async, [&errFile, &lines] {
            return writeFileAtomically(errFile, TextCodec::encodeLegacy(lines));
        });
        if (rows) *rows = parseTidyReport(lines);
        return written.get() && rows;
    }
    if (joined) writeFileAtomically(errFile, report);
    return false;  // Tidy's own file is the report
}

void TidyRun::deleteWorkFiles(const QString &pattern)
{
    const QDir work(ProgramFolder::workDir());
    for (const QString &name : work.entryList({pattern}, QDir::Files | QDir::Hidden | QDir::System))
        QFile::remove(work.filePath(name));
}

TidyRun::Outcome TidyRun::run(const QString &document, bool showInBrowser, int browserIndex)
{
    const ControlsEnabledAtEnd enableAtEnd(m_view);

    if (!m_store.tidyConfigExists()) m_store.save();

    QString file;
    switch (classifyDocument(document)) {
        case DocumentKind::Local:
            if (!isExistingFile(document)) {
                m_list.showMessageRow(QStringLiteral("チェックするファイルが見当たりません。"));
                return Outcome::NoDocument;
            }
            file = document;
            break;
        case DocumentKind::OtherProtocol:
            m_view.showPage(0);
            m_list.showMessageRow(QStringLiteral("HTTP以外のプロトコルには対応していません。") +
                                  document);
            [[fallthrough]];
        case DocumentKind::Http: {
            if (!download(document, fetchedPath())) {
                // The last page's report must not read as this address's result.
                if (classifyDocument(document) == DocumentKind::Http) {
                    m_view.showPage(0);
                    m_list.showMessageRow(kPageFetchFailed + document);
                }
                m_view.setBusy(false);
                return Outcome::FetchFailed;
            }
            file = fetchedPath();
            break;
        }
    }

    if (!executeTidy(file)) {
        m_list.showMessageRow(QStringLiteral("Tidyの起動に失敗しました。"));
        m_view.setBusy(false);
        return Outcome::TidyMissing;
    }

    m_list.clear();
    m_fileSelector.setStringList({});

    if (showInBrowser)
        presentInBrowser(document, browserIndex);
    else
        presentInWindow();
    m_view.setBusy(false);
    return Outcome::Checked;
}

void TidyRun::presentInWindow()
{
    presentReport(reportPath(), outputPath(), QStringLiteral("出力はありません。"));
}

void TidyRun::presentReport(const QString &reportFile, const QString &outputFile,
                            const QString &noOutputText)
{
    WrittenReport written = std::exchange(m_written, {});
    const QFileInfo report(reportFile);
    if (report.exists()) {
        bool exists = false;
        if (report.absoluteFilePath() == written.path && report.size() == written.size)
            m_list.setRows(std::move(written.rows));
        else
            m_list.setRows(loadTidyReportFile(reportFile, &exists));
    }

    const QFileInfo output(outputFile);
    if (!output.exists()) return;
    if (output.size() <= 0) {
        m_view.bringToFront();
        m_view.showStatus(noOutputText, true);
        return;
    }
    if (!m_opensOutput) return;
    const QString path = output.absoluteFilePath();
    if (isExistingFile(m_settings.editorPath))
        m_runner.startDetached(m_settings.editorPath, {path});
    else
        m_runner.openWithDefaultApplication(path);
    m_view.bringToFront();
}

QString TidyRun::browserResultText(const QString &document, const QString &reportFile,
                                   const QString &outputFile)
{
    QStringList blocks;
    const QFileInfo report(reportFile);
    if (report.exists()) {
        blocks << (report.size() >= 1 ? QStringLiteral("-----エラーおよび警告-----")
                                      : QStringLiteral("-----エラーおよび警告なし-----"));
        blocks << contentBlock(reportFile);
    }
    const QFileInfo output(outputFile);
    if (output.exists()) {
        blocks << (output.size() >= 1 ? QStringLiteral("-----出力-----")
                                      : QStringLiteral("-----出力なし-----"));
        blocks << contentBlock(outputFile);
    }
    if (blocks.isEmpty())
        blocks << QStringLiteral("-----エラー、警告、および出力はありません-----");
    else {
        blocks.prepend(document);
        blocks << QStringLiteral("-----END-----");
    }
    return TextCodec::joinCrLf(blocks);
}

void TidyRun::presentInBrowser(const QString &document, int browserIndex)
{
    const QString text = browserResultText(document, reportPath(), outputPath());
    writeFileAtomically(resultPath(), TextCodec::encodeLegacy(text));
    const QString result = QFileInfo(resultPath()).absoluteFilePath();
    if (m_browsers.openFile(browserIndex, result)) return;
    if (!m_view.ask(QStringLiteral("DDEリンクに失敗しました。結果をエディタで開きますか？")))
        return;
    if (!m_settings.editorPath.isEmpty())
        m_runner.startDetached(m_settings.editorPath, {result});
    else
        m_runner.openWithDefaultApplication(result);
}
