#include "main_actions.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>

#include "app/help_location.h"
#include "core/upload_preset.h"
#include "core/view.h"
#include "platform/atomic_file.h"
#include "platform/browser_bridge.h"
#include "platform/ini_file.h"
#include "platform/process_runner.h"
#include "platform/program_folder.h"
#include "platform/text_codec.h"
#include "app/window_placement.h"

namespace {

const QString kHtmlFilter = QStringLiteral("HTMLファイル (*.htm;*.html)|*.htm;*.html");
const QString kTextFilter =
    QStringLiteral("テキストファイル(*.txt)|*.txt|全てのファイル(*.*)|*.*");

}  // namespace

MainActions::MainActions(View &view, ProcessRunner &runner, BrowserBridge *browsers)
    : m_view(view),
      m_ownBrowsers(browsers ? nullptr : std::make_unique<NoBrowserBridge>()),
      m_browsers(browsers ? *browsers : *m_ownBrowsers),
      m_store(m_settings, view),
      m_runner(runner),
      m_tidyRun(m_settings, m_store, view, runner, m_http, m_browsers, m_tidyList,
                m_fileSelector),
      m_batch(m_settings, view, m_tidyRun, runner, m_tidyList, m_fileSelector, m_folders),
      m_css(view, m_cssList, runner, m_folders),
      m_link(view, m_linkList, m_http, m_folders),
      m_capture(view, m_browsers, m_http),
      m_upload(view, m_settings.upload),
      m_nu(m_settings, view, m_http, m_folders, m_nuList, m_nuSelector)
{
    // Command lines handed over during a link check wait for its end, however
    // it was started (F12 and drops return while the workers still run).
    QObject::connect(
        &m_link, &LinkCheck::finished, &m_link, [this] { drainPending(); },
        Qt::QueuedConnection);
    QObject::connect(
        &m_nu, &NuCheck::finished, &m_nu, [this] { drainPending(); }, Qt::QueuedConnection);
    QObject::connect(
        &m_batch, &TidyBatch::finished, &m_batch, [this] { drainPending(); },
        Qt::QueuedConnection);
}

MainActions::~MainActions() = default;

void MainActions::start()
{
    m_store.load();
    m_folders.load();
}

void MainActions::runAction(const std::function<void()> &action)
{
    ++m_depth;
    try {
        action();
    } catch (const FunctionFailure &failure) {
        m_view.setBusy(false);
        m_view.setEnabled(Control::ToolBar1, true);
        m_view.setEnabled(Control::Button1, true);
        m_view.showError(failure.message());
    }
    --m_depth;
    if (m_depth == 0)
        drainPending();
}

void MainActions::drainPending()
{
    while (!m_pending.isEmpty() && !isRunning() && !m_link.isRunning() && !m_nu.isRunning()) {
        auto [arguments, done] = m_pending.takeFirst();
        processCommandLine(arguments);
        if (done)
            done();
    }
}

void MainActions::tidyAction()
{
    if (isRunning())
        return;  // a check is running; its controls are disabled
    const QString file = m_view.chooseOpenFile(m_folders.startDir(), kHtmlFilter);
    if (file.isEmpty())
        return;
    m_folders.remember(file);
    runTidyAction([&] { m_tidyRun.run(file); });
}

void MainActions::runTidyAction(const std::function<void()> &action)
{
    m_view.showPage(0);
    m_view.setEnabled(Control::ToolBar1, false);
    m_view.setEnabled(Control::Button1, false);
    runAction(action);
    m_view.setEnabled(Control::ToolBar1, true);
    m_view.setEnabled(Control::Button1, true);
}

void MainActions::dropOnTidyList(const QStringList &files)
{
    if (files.isEmpty() || isRunning())
        return;
    if (files.size() > 1) {
        runAction([&] { m_batch.runFiles(files); });
        return;
    }
    runTidyAction([&] { m_tidyRun.run(files.first()); });
}

void MainActions::folderAction()
{
    if (isRunning())
        return;
    // The dialog starts in the remembered folder, or the folder of a
    // remembered file, or the home folder.
    QString start = m_folders.startDir();
    if (start.isEmpty()) {
        const QFileInfo last(m_folders.lastDir());
        start = !m_folders.lastDir().isEmpty() && last.isFile() ? last.absolutePath()
                                                                : QDir::homePath();
    }
    const QString folder = m_view.chooseFolder(start);
    if (folder.isEmpty())
        return;
    m_folders.remember(folder.endsWith(u'/') ? folder : folder + u'/');
    startFolder(folder);
}

void MainActions::startFolder(const QString &folder)
{
    runAction([&] { m_batch.runFolder(folder); });
}

void MainActions::checkFolder(const QString &folder)
{
    startFolder(folder);
    waitForBatch();
}

void MainActions::waitForBatch()
{
    if (!m_batch.isRunning())
        return;
    QEventLoop loop;
    QObject::connect(&m_batch, &TidyBatch::finished, &loop, &QEventLoop::quit);
    loop.exec();
}

void MainActions::showEntry(int entry)
{
    if (isRunning() || entry < 0)
        return;
    runAction([&] { m_batch.showEntryReport(entry); });
}

void MainActions::captureAction(CaptureBrowser browser)
{
    if (isRunning())
        return;
    runAction([&] {
        const BrowserCapture::Result captured = m_capture.capture(browser);
        if (captured.file.isEmpty())
            return;
        runTidyAction([&] {
            m_tidyRun.run(captured.file, m_settings.openInBrowser, captured.browserIndex);
        });
    });
}

void MainActions::cssAction()
{
    if (isRunning())
        return;
    runAction([&] { m_css.cssExecute(); });
}

void MainActions::dropOnCssList(const QStringList &files)
{
    if (files.isEmpty() || isRunning())
        return;
    runAction([&] { m_css.fileDrop(files); });
}

TidyRun::Outcome MainActions::checkDocument(const QString &document)
{
    TidyRun::Outcome outcome = TidyRun::Outcome::TidyMissing;
    runTidyAction([&] { outcome = m_tidyRun.run(document); });
    return outcome;
}

void MainActions::processCommandLine(const QStringList &arguments)
{
    // Command lines handed over meanwhile wait until this one is done.
    ++m_depth;
    ::processCommandLine(arguments, *this);
    --m_depth;
    if (m_depth == 0)
        drainPending();
}

void MainActions::presetUploadOptions(const QString &file, bool setCharset, bool setDocType)
{
    ::presetUploadOptions(m_settings.upload, file, setCharset, setDocType, declaredClassesOfFile);
}

void MainActions::sendToValidator(Validator validator, const QString &target,
                                  bool separateWindow)
{
    if (!m_upload.sendToValidator(target, validator, separateWindow))
        ++m_failedEntries;
}

void MainActions::tidyInBrowser(const QString &target, int browserIndex)
{
    TidyRun::Outcome outcome = TidyRun::Outcome::TidyMissing;
    runTidyAction([&] { outcome = m_tidyRun.run(target, true, browserIndex); });
    if (outcome != TidyRun::Outcome::Checked)
        ++m_failedEntries;
}

void MainActions::checkCss(const QString &target)
{
    runAction([&] { m_css.checkCssTarget(target); });
    if (!m_css.lastChecked())
        ++m_failedEntries;
}

void MainActions::checkLinks(const QString &target)
{
    const bool started = m_link.checkLinksTarget(target);
    if (!m_link.lastChecked())
        ++m_failedEntries;
    if (!started || !m_link.isRunning())
        return;
    // The workers of a long list run on; the command line's next check
    // waits for their end.
    QEventLoop loop;
    QObject::connect(&m_link, &LinkCheck::finished, &loop, &QEventLoop::quit);
    m_linkWait = &loop;
    loop.exec();
    m_linkWait = nullptr;
}

void MainActions::linkAction()
{
    if (isRunning())
        return;
    m_link.linkCheckExecute();
}

void MainActions::linkRowDoubleClicked(int row)
{
    if (isRunning() || m_link.isRunning())
        return;
    m_link.linkListDblClick(row);
}

void MainActions::dropOnLinkList(const QStringList &files)
{
    if (files.isEmpty() || isRunning())
        return;
    m_link.fileDrop(files);
}

bool MainActions::tidyEntry(const QString &target, int entry)
{
    bool added = false;
    runTidyAction(
        [&] { added = m_batch.runTidyForEntry(target, entry) == TidyRun::Outcome::Checked; });
    if (!added)
        ++m_failedEntries;
    return added;
}

void MainActions::unresolved(const QString &text)
{
    ++m_failedEntries;
    if (m_unresolved)
        m_unresolved(QStringLiteral("ファイルがありません。") + text);
}

void MainActions::refused(const QString &text)
{
    ++m_failedEntries;
    if (m_unresolved)
        m_unresolved(QStringLiteral("HTTP以外のプロトコルには対応していません。") + text);
}

bool MainActions::fileExists(const QString &path) const
{
    return !path.isEmpty() && QFileInfo(path).isFile();
}

void MainActions::processForwarded(const QStringList &arguments, std::function<void()> done)
{
    if (isRunning() || m_link.isRunning() || m_nu.isRunning()) {
        m_pending.append({arguments, std::move(done)});
        return;
    }
    processCommandLine(arguments);
    if (done)
        done();
}

void MainActions::nuCaptureAction(CaptureBrowser browser)
{
    if (m_depth > 0 || m_nu.isRunning())
        return;
    runAction([&] {
        const BrowserCapture::Result captured = m_capture.capture(browser);
        if (captured.file.isEmpty())
            return;
        // A downloaded page is named by its address, a local one by its path.
        const bool web = classifyDocument(captured.address) == DocumentKind::Http;
        m_nu.checkPage(captured.file, web ? captured.address : captured.file);
    });
}

void MainActions::clearNuResults()
{
    // The selector's entries must keep naming the documents while they are checked.
    if (m_nu.isRunning())
        return;
    m_nuList.clear();
    m_nuSelector.setStringList({});
}

void MainActions::clearTidyResults()
{
    // Entry N of the selector must keep naming tidy_errN.txt while a run adds entries.
    if (isRunning())
        return;
    m_tidyList.clear();
    m_fileSelector.setStringList({});
}

void MainActions::saveResultText(const QString &text)
{
    if (text.isEmpty()) {
        m_view.notice(QStringLiteral("結果はありません。"));
        return;
    }
    QString file = m_view.chooseSaveFile(m_folders.startDir(), kTextFilter, QStringLiteral("txt"));
    if (file.isEmpty())
        return;
    if (QFileInfo(file).suffix().isEmpty())
        file += QStringLiteral(".txt");
    QString error;
    if (!writeFileAtomically(file, TextCodec::encodeLegacy(text), &error))
        m_view.showError(error);
}

void MainActions::copyResultText(const QString &text)
{
    if (text.isEmpty()) {
        m_view.notice(QStringLiteral("結果はありません。"));
        return;
    }
    m_view.setClipboardText(text);
    m_view.notice(QStringLiteral("クリップボードにコピーしました。"));
}

void MainActions::shutdown(const QRect &frame)
{
    IniFile ini(ProgramFolder::iniPath());
    WindowPlacement::save(ini, frame);
    m_batch.shutdown();
    m_link.shutdown();
    m_nu.abort();
    if (m_linkWait != nullptr)
        m_linkWait->quit();
    m_http.abort();
    m_upload.terminateAll();
    ProgramFolder::emptyWorkDir();
}

void MainActions::openHelp()
{
    // Without Velmarin.chm the HTML manual opens in the default browser.
    QString help = HelpLocation::chmFile();
    if (help.isEmpty())
        help = HelpLocation::manualIndex();
    if (help.isEmpty()) {
        m_view.notice(QStringLiteral("Velmarin.chmがありません。"));
        return;
    }
    m_runner.openWithDefaultApplication(help);
}
