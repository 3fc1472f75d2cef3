#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QUrl>
#include <functional>

class QWidget;

// An embedded web browser (the UpLoad and 線形化 pages). The browser engine,
// Qt WebEngine, lives in a library of its own (velmarin_webview) that is
// loaded when the first browser is made: linked into the program it would
// cost every start its loading time and some 25 MiB of memory, although
// most sessions never show a page.
class EmbeddedBrowser {
public:
    virtual ~EmbeddedBrowser() = default;
    // The browser widget; its parent owns it (and with it this object).
    virtual QWidget *widget() = 0;
    virtual void navigate(const QUrl &url) = 0;
    // A request with a method of its own: a POST of `body` when post is set,
    // else a GET; `headers` go along ("Content-Type" and the like).
    virtual void navigateRequest(const QUrl &url, bool post, const QByteArray &body,
                                 const QList<QPair<QByteArray, QByteArray>> &headers) = 0;
    virtual bool isLoading() const = 0;
    // Called as a page loads, with the percentage done.
    virtual void setLoadProgressHandler(std::function<void(int percent)> handler) = 0;
    virtual QUrl url() const = 0;
    // Called when a page has finished loading.
    virtual void setLoadFinishedHandler(std::function<void(bool ok)> handler) = 0;
    // Called with the address of the link under the pointer (empty when it leaves).
    virtual void setLinkHoveredHandler(std::function<void(const QString &url)> handler) = 0;
    // Shows pages without running anything of theirs: no scripts, no
    // plug-ins, and a local page reaches neither other files nor the network.
    virtual void showStaticPagesOnly() = 0;
    virtual bool runsScripts() const = 0;
};

// Makes a browser as a child of `parent`, loading the engine on first use.
// nullptr when the engine cannot be loaded; *error then says why.
EmbeddedBrowser *createEmbeddedBrowser(QWidget *parent, QString *error);
// The module that createEmbeddedBrowser loads; empty when none is found.
QString embeddedBrowserLibrary();

// The entry point the browser library exports.
using CreateEmbeddedBrowserFunction = EmbeddedBrowser *(*)(QWidget *parent);
#define VELMARIN_CREATE_BROWSER_SYMBOL "velmarinCreateEmbeddedBrowser"
