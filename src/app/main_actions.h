#pragma once

#include <QList>
#include <QRect>
#include <QStringList>
#include <QStringListModel>
#include <functional>
#include <memory>

#include "core/app_settings.h"
#include "app/command_line.h"
#include "core/folder_memory.h"
#include "core/message_list_model.h"
#include "core/settings_store.h"
#include "fetch/browser_capture.h"
#include "fetch/http_client.h"
#include "tidy/report_list_model.h"
#include "checks/css_check.h"
#include "checks/link_check.h"
#include "checks/nu_check.h"
#include "checks/validator_upload.h"
#include "tidy/tidy_batch.h"
#include "tidy/tidy_run.h"

class BrowserBridge;
class QEventLoop;
class ProcessRunner;
class View;

// The main window's actions without the window: every command of the menu,
// the toolbar, the drop targets and the command line runs here and talks to
// the user only through the View. It owns the long-lived objects: the
// settings, the result lists, the HTTP client.
class MainActions : private CommandLineActions {
public:
    MainActions(View &view, ProcessRunner &runner, BrowserBridge *browsers = nullptr);
    ~MainActions();

    // Loads the settings (writing the files on a first start) and the
    // remembered folder.
    void start();

    AppSettings &settings() { return m_settings; }
    SettingsStore &settingsStore() { return m_store; }
    FolderMemory &folders() { return m_folders; }
    ReportListModel &tidyList() { return m_tidyList; }
    QStringListModel &fileSelector() { return m_fileSelector; }
    TidyRun &tidyRun() { return m_tidyRun; }
    TidyBatch &batch() { return m_batch; }
    CssCheck &cssCheck() { return m_css; }
    LinkCheck &linkCheck() { return m_link; }
    HttpClient &http() { return m_http; }
    NuCheck &nuCheck() { return m_nu; }
    ReportListModel &nuList() { return m_nuList; }
    QStringListModel &nuSelector() { return m_nuSelector; }

    // Tidy (F9): asks for an HTML file and checks it.
    void tidyAction();
    // Files dropped on the Tidy result list; several make a batch.
    void dropOnTidyList(const QStringList &files);
    // Folder batch (F10): asks for a folder and starts checking its HTML
    // files. The batch runs on after the call (batch().isRunning()).
    void folderAction();
    // Starts the folder batch on a folder.
    void startFolder(const QString &folder);
    // Checks the HTML files of a folder and waits for the batch's end.
    void checkFolder(const QString &folder);
    // Waits until the running batch, if any, has ended.
    void waitForBatch();
    // The abort button of the HTML Tidy page.
    void abortBatch() { m_batch.abort(); }
    // An entry chosen in the file selector.
    void showEntry(int entry);

    // Internet Explorer (F5), Opera (F6), Mozilla (F7) and Netscape
    // Communicator (F8): checks the page the browser shows.
    void captureAction(CaptureBrowser browser);

    // CSS check (F11), and files dropped on the CSS list.
    void cssAction();
    void dropOnCssList(const QStringList &files);

    // Link check (F12), its abort button, a double-click on a row of the
    // link list (-1: no row selected) and files dropped on it.
    void linkAction();
    void abortLinkCheck() { m_link.abort(); }
    void linkRowDoubleClicked(int row);
    void dropOnLinkList(const QStringList &files);
    // Checks one document (file or URL) as the Tidy action does, without the
    // file dialog. Returns the outcome; FunctionFailure is shown, not thrown.
    TidyRun::Outcome checkDocument(const QString &document);

    // W3CExe, LintExe, WDGExe, CSSExe: asks for a file and uploads it to
    // the validator of that index.
    void uploadFileAction(int service);
    ValidatorUpload &upload() { return m_upload; }
    // The checks ticked in the URL dialog (its seven boxes in order), run
    // on the accepted address.
    void runUrlChecks(const QString &url, const QVector<bool> &ticked);

    // The command line of this process or one handed over by a second start.
    void processCommandLine(const QStringList &arguments);
    // A command line handed over while a check runs waits for its end; `done`
    // is called once it has been processed.
    void processForwarded(const QStringList &arguments, std::function<void()> done);
    // The console program hears of documents that could not be checked: the
    // arguments that named nothing, and addresses of other protocols (the
    // text is the message to show).
    void setUnresolvedHandler(std::function<void(const QString &)> handler)
    {
        m_unresolved = std::move(handler);
    }
    // Documents of command lines that could not be checked so far.
    int failedEntries() const { return m_failedEntries; }

    // Context menu and buttons of the Tidy result list.
    void clearTidyResults();
    void saveTidyResults() { saveResultText(m_tidyList.resultText()); }
    void copyTidyResults() { copyResultText(m_tidyList.resultText()); }
    bool tidyResultsEmpty() const { return m_tidyList.rowCount() == 0; }

    // The same for the CSS list.
    void clearCssResults() { m_cssList.clear(); }
    void saveCssResults() { saveResultText(m_cssList.cssResultText()); }
    void copyCssResults() { copyResultText(m_cssList.cssResultText()); }
    void clearLinkResults() { m_linkList.clear(); }

    // The HTML5 check on the page a browser shows, and its list's commands.
    void nuCaptureAction(CaptureBrowser browser);
    void clearNuResults();
    void saveNuResults() { saveResultText(m_nuList.resultText()); }
    void copyNuResults() { copyResultText(m_nuList.resultText()); }

    MessageListModel &cssList() { return m_cssList; }
    MessageListModel &linkList() { return m_linkList; }

    // Help: opens the help file or the HTML manual, or says that neither is there.
    void openHelp();

    // Closing: the window's frame is stored, the working folder emptied and
    // the HTTP request in progress aborted.
    void shutdown(const QRect &frame);

    bool isRunning() const { return m_depth > 0 || m_batch.isRunning(); }

private:
    // CommandLineActions
    void presetUploadOptions(const QString &file, bool setCharset, bool setDocType) override;
    void sendToValidator(Validator validator, const QString &target, bool separateWindow) override;
    bool showsInBrowser() const override { return m_settings.openInBrowser; }
    void tidyInBrowser(const QString &target, int browserIndex) override;
    void checkCss(const QString &target) override;
    void checkLinks(const QString &target) override;
    bool tidyEntry(const QString &target, int entry) override;
    void clearFileSelector() override { m_fileSelector.setStringList({}); }
    int fileSelectorCount() const override { return m_fileSelector.rowCount(); }
    void showEntryReport(int entry) override { m_batch.showEntryReport(entry); }
    bool fileExists(const QString &path) const override;
    void unresolved(const QString &text) override;
    void refused(const QString &text) override;

    // Runs an action with the controls disabled, showing a start failure as
    // the general error, then drains command lines handed over meanwhile.
    void runAction(const std::function<void()> &action);
    // The same for a Tidy run: the Tidy page shown, the toolbar and its
    // clear button disabled for the duration.
    void runTidyAction(const std::function<void()> &action);
    void drainPending();
    void saveResultText(const QString &text);
    void copyResultText(const QString &text);

    View &m_view;
    std::unique_ptr<BrowserBridge> m_ownBrowsers;
    BrowserBridge &m_browsers;
    AppSettings m_settings;
    SettingsStore m_store;
    FolderMemory m_folders;
    HttpClient m_http;
    ProcessRunner &m_runner;
    ReportListModel m_tidyList;
    MessageListModel m_cssList{QStringLiteral("行番号"), QStringLiteral("内容")};
    MessageListModel m_linkList{QStringLiteral("リンク先"), QStringLiteral("状態")};
    QStringListModel m_fileSelector;
    ReportListModel m_nuList;
    QStringListModel m_nuSelector;
    TidyRun m_tidyRun;
    TidyBatch m_batch;
    CssCheck m_css;
    LinkCheck m_link;
    BrowserCapture m_capture;
    ValidatorUpload m_upload;
    NuCheck m_nu;
    int m_depth = 0;
    int m_failedEntries = 0;
    QEventLoop *m_linkWait = nullptr;  // the command line waiting for the link workers
    std::function<void(const QString &)> m_unresolved;
    QList<std::pair<QStringList, std::function<void()>>> m_pending;
};
