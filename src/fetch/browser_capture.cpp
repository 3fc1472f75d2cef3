#include "fetch/browser_capture.h"

#include <QFileInfo>

#include "core/view.h"
#include "fetch/file_url.h"
#include "fetch/page_download.h"
#include "platform/browser_bridge.h"
#include "platform/program_folder.h"

namespace {

const QString kNotRunning = QStringLiteral("ブラウザが起動していません。");
const QString kLinkFailed = QStringLiteral("DDEサーバーとのリンクに失敗しました。");
const QString kNoAddress = QStringLiteral("ブラウザからURLを取得できませんでした。");
const QString kCannotFetch = QStringLiteral("FTP,Chrome,Gopherからは取得できません。");

bool startsWithCaseBlind(const QString &text, QLatin1String prefix)
{
    return text.startsWith(prefix, Qt::CaseInsensitive);
}

// Restores the normal cursor however the capture ends.
class BusyCursor {
public:
    explicit BusyCursor(View &view) : m_view(view) { m_view.setBusy(true); }
    ~BusyCursor() { m_view.setBusy(false); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;

private:
    View &m_view;
};

}  // namespace

BrowserCapture::BrowserCapture(View &view, BrowserBridge &browsers, HttpClient &http)
    : m_view(view), m_browsers(browsers), m_http(http)
{
}

QString BrowserCapture::statusMessage(BrowserBridge::Page::Status status)
{
    switch (status) {
    case BrowserBridge::Page::Status::Found:
        return {};
    case BrowserBridge::Page::Status::NotRunning:
        return kNotRunning;
    case BrowserBridge::Page::Status::Unreachable:
        return kLinkFailed;
    case BrowserBridge::Page::Status::NoAddress:
        return kNoAddress;
    }
    return {};
}

int BrowserCapture::browserIndex(CaptureBrowser browser)
{
    switch (browser) {
    case CaptureBrowser::InternetExplorer:
        return 0;
    case CaptureBrowser::Mozilla:
        return 1;
    case CaptureBrowser::Opera:
        return 2;
    case CaptureBrowser::Netscape:
        return 3;
    }
    return 0;
}

BrowserCapture::Result BrowserCapture::capture(CaptureBrowser browser)
{
    const BusyCursor busy(m_view);
    const int index = browserIndex(browser);
    if (browser != CaptureBrowser::Netscape) {
        const BrowserBridge::Page page = m_browsers.currentPage(index);
        // The window test: a browser that does not run has nothing to say.
        if (page.status == BrowserBridge::Page::Status::NotRunning) {
            m_view.notice(kNotRunning);
            return {};
        }
        return {fileForPage(page, true), index, page.url.trimmed()};
    }
    // A first attempt that named a page is final (its own message, if any,
    // has been shown); only one that got no address makes way for the second.
    const BrowserBridge::Page first = m_browsers.currentPage(index);
    if (namesAPage(first))
        return {fileForPage(first, false), index, first.url.trimmed()};
    const BrowserBridge::Page second = m_browsers.currentPage(index + 1);
    return {fileForPage(second, true), index + 1, second.url.trimmed()};
}

QString BrowserCapture::captureBrowserUrl(int index, bool showFailures)
{
    const BusyCursor busy(m_view);
    return fileForPage(m_browsers.currentPage(index), showFailures);
}

bool BrowserCapture::namesAPage(const BrowserBridge::Page &page)
{
    return page.status == BrowserBridge::Page::Status::Found && !page.url.trimmed().isEmpty();
}

QString BrowserCapture::fileForPage(const BrowserBridge::Page &page, bool showFailures)
{
    if (namesAPage(page))
        return fileForAddress(page.url.trimmed());
    if (showFailures) {
        // A browser that answered without an address, or one that could not
        // be asked at all.
        const bool answered = page.status == BrowserBridge::Page::Status::Found ||
                              page.status == BrowserBridge::Page::Status::NoAddress;
        m_view.notice(answered ? kNoAddress : kLinkFailed);
    }
    return {};
}

QString BrowserCapture::fileForAddress(const QString &address)
{
    // The source view of a page checks the page itself.
    const QLatin1String sourceView("view-source:");
    const QString target =
        startsWithCaseBlind(address, sourceView) ? address.mid(sourceView.size()) : address;
    if (target.startsWith(u'/') || startsWithCaseBlind(target, QLatin1String("file:"))) {
        const QStringList candidates = fileUrlPathCandidates(target);
        for (const QString &path : candidates)
            if (QFileInfo(path).isFile())
                return path;
        return candidates.first();  // the Tidy run says that it is missing
    }
    if (startsWithCaseBlind(target, QLatin1String("http://")) ||
        startsWithCaseBlind(target, QLatin1String("https://")))
        return download(target);
    // ftp:, chrome:, gopher:, and the browsers' own pages (about:, data:,
    // extension pages, javascript:) have nothing an HTTP request could get.
    m_view.notice(kCannotFetch);
    return {};
}

QString BrowserCapture::download(const QString &url)
{
    const QString file = ProgramFolder::workDir() + QStringLiteral("tidy_get.html");
    return downloadForCheck(m_http, m_view, url, file) ? file : QString();
}
