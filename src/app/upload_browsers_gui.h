#pragma once

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>

#include "checks/upload_browser.h"

class EmbeddedBrowser;

// An upload carried out by one of our web-engine browsers. A navigation
// ends when the page has loaded and the engine is no longer loading, when a
// later navigation replaces it, or when the browser goes away.
class WebUploadBrowser : public UploadBrowser {
public:
    // status(text, clearLater) shows the browser's loading texts.
    WebUploadBrowser(EmbeddedBrowser *browser,
                     std::function<void(const QString &, bool)> status);
    ~WebUploadBrowser() override;
    void navigate(const ValidatorRequest &request, std::function<void(bool)> ended) override;
    void browserGone() { end(false); }

private:
    void end(bool ok);

    EmbeddedBrowser *m_browser;
    std::function<void(const QString &, bool)> m_status;
    std::function<void(bool)> m_ended;
    QString m_checker;
};

// The separate browser window of an upload: a top-level window of its own,
// left open for the user, deleted when closed. It does not keep the program
// running once the main window has closed: a process without its main
// window would still take the command lines of later starts.
class UploadWindow : public QMainWindow {
    Q_OBJECT
public:
    UploadWindow();
    ~UploadWindow() override;
    // nullptr when the browser engine could not be loaded.
    WebUploadBrowser *upload() const { return m_upload.get(); }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    std::unique_ptr<WebUploadBrowser> m_upload;
};

// The main window's browsers for uploads: WB2, and new windows.
class MainFormUploadBrowsers : public UploadBrowsers {
public:
    MainFormUploadBrowsers(std::function<EmbeddedBrowser *()> wb2,
                           std::function<void(const QString &, bool)> status);
    ~MainFormUploadBrowsers() override;
    UploadBrowser *embeddedBrowser() override;
    UploadBrowser *newBrowserWindow() override;

private:
    std::function<EmbeddedBrowser *()> m_wb2;
    std::function<void(const QString &, bool)> m_status;
    std::unique_ptr<WebUploadBrowser> m_embedded;
    QList<QPointer<UploadWindow>> m_windows;  // closed with the main window
};

// Header lines "Name: value" of a request's header text.
QList<QPair<QByteArray, QByteArray>> requestHeaderLines(const QByteArray &text);
