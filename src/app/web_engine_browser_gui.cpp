// The embedded browser on Qt WebEngine, built as the library that
// createEmbeddedBrowser loads on first use (see embedded_browser_gui.h).
#include <QWebEngineHttpRequest>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include "app/embedded_browser_gui.h"

namespace {

class WebEngineBrowser : public QWebEngineView, public EmbeddedBrowser {
public:
    explicit WebEngineBrowser(QWidget *parent) : QWebEngineView(parent)
    {
        connect(this, &QWebEngineView::loadFinished, this, [this](bool ok) {
            if (m_loadFinished)
                m_loadFinished(ok);
        });
        connect(this, &QWebEngineView::loadProgress, this, [this](int percent) {
            if (m_loadProgress)
                m_loadProgress(percent);
        });
        connect(page(), &QWebEnginePage::linkHovered, this, [this](const QString &url) {
            if (m_linkHovered)
                m_linkHovered(url);
        });
    }

    QWidget *widget() override { return this; }
    void navigate(const QUrl &url) override { setUrl(url); }
    void navigateRequest(const QUrl &url, bool post, const QByteArray &body,
                         const QList<QPair<QByteArray, QByteArray>> &headers) override
    {
        QWebEngineHttpRequest request(url, post ? QWebEngineHttpRequest::Post
                                                : QWebEngineHttpRequest::Get);
        if (post)
            request.setPostData(body);
        for (const auto &[name, value] : headers)
            request.setHeader(name, value);
        load(request);
    }
    bool isLoading() const override { return page()->isLoading(); }
    void setLoadProgressHandler(std::function<void(int)> handler) override
    {
        m_loadProgress = std::move(handler);
    }
    QUrl url() const override { return QWebEngineView::url(); }
    void setLoadFinishedHandler(std::function<void(bool)> handler) override
    {
        m_loadFinished = std::move(handler);
    }
    void setLinkHoveredHandler(std::function<void(const QString &)> handler) override
    {
        m_linkHovered = std::move(handler);
    }
    void showStaticPagesOnly() override
    {
        QWebEngineSettings *s = settings();
        s->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
        s->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
        s->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
        s->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
        s->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
        s->setAttribute(QWebEngineSettings::PluginsEnabled, false);
        s->setAttribute(QWebEngineSettings::AllowRunningInsecureContent, false);
        s->setAttribute(QWebEngineSettings::AutoLoadIconsForPage, false);
    }
    bool runsScripts() const override
    {
        return settings()->testAttribute(QWebEngineSettings::JavascriptEnabled);
    }

private:
    std::function<void(bool)> m_loadFinished;
    std::function<void(const QString &)> m_linkHovered;
    std::function<void(int)> m_loadProgress;
};

}  // namespace

extern "C" Q_DECL_EXPORT EmbeddedBrowser *velmarinCreateEmbeddedBrowser(QWidget *parent)
{
    return new WebEngineBrowser(parent);
}
