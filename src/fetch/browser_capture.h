#pragma once

#include <QString>

#include "platform/browser_bridge.h"

class HttpClient;
class View;

// The capture actions' browsers.
enum class CaptureBrowser { InternetExplorer, Opera, Mozilla, Netscape };

// Turns the page a browser shows into a local file to check: a local page is
// checked in place, a web page is downloaded into tidy_get.html in the
// working folder. Addresses that cannot be fetched (ftp:, chrome:, about:,
// data:, extension pages...) are refused with a message, never requested.
class BrowserCapture {
public:
    BrowserCapture(View &view, BrowserBridge &browsers, HttpClient &http);

    struct Result {
        QString file;           // empty: nothing to check
        int browserIndex = -1;  // the browser that named the page
        QString address;        // the page's address as the browser named it
    };

    // The action of one browser: Internet Explorer, Opera and Mozilla must be
    // running; Netscape is asked as index 3 quietly, then as index 4.
    Result capture(CaptureBrowser browser);

    // The local file for the page the browser of `index` shows, or empty.
    // With showFailures the user hears why no address came.
    QString captureBrowserUrl(int index, bool showFailures);

    // What the user is told of a browser's answer that names no page
    // (empty for Found).
    static QString statusMessage(BrowserBridge::Page::Status status);

    // The browser indexes of the actions (see BrowserBridge).
    static int browserIndex(CaptureBrowser browser);

private:
    static bool namesAPage(const BrowserBridge::Page &page);
    QString fileForPage(const BrowserBridge::Page &page, bool showFailures);
    // The file for an address the browser named, or empty with a message.
    QString fileForAddress(const QString &address);
    QString download(const QString &url);

    View &m_view;
    BrowserBridge &m_browsers;
    HttpClient &m_http;
};
