#include "app/upload_browsers_gui.h"

#include <QCloseEvent>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>

#include "app/embedded_browser_gui.h"
#include "checks/validator_request.h"
#include "core/window_fonts_gui.h"

QList<QPair<QByteArray, QByteArray>> requestHeaderLines(const QByteArray &text)
{
    QList<QPair<QByteArray, QByteArray>> headers;
    for (const QByteArray &line : text.split('\n')) {
        const QByteArray trimmed = line.trimmed();
        const qsizetype colon = trimmed.indexOf(':');
        if (colon > 0)
            headers.append({trimmed.left(colon).trimmed(), trimmed.mid(colon + 1).trimmed()});
    }
    return headers;
}

WebUploadBrowser::WebUploadBrowser(EmbeddedBrowser *browser,
                                   std::function<void(const QString &, bool)> status)
    : m_browser(browser), m_status(std::move(status))
{
    m_browser->setLoadProgressHandler([this](int percent) {
        if (m_ended)
            m_status(QStringLiteral("%1: ページを読み込んでいます... %2%")
                         .arg(m_checker)
                         .arg(percent),
                     false);
    });
    m_browser->setLoadFinishedHandler([this](bool ok) {
        m_status(QString(), true);  // the status line clears 5 seconds later
        // A replaced load reports its end while the next one is under way.
        if (!m_browser->isLoading())
            end(ok);
    });
}

WebUploadBrowser::~WebUploadBrowser()
{
    // The browser widget may outlive this object by a moment.
    m_browser->setLoadProgressHandler(nullptr);
    m_browser->setLoadFinishedHandler(nullptr);
    end(false);
}

void WebUploadBrowser::navigate(const ValidatorRequest &request, std::function<void(bool)> ended)
{
    end(false);  // a navigation still waiting is replaced
    m_ended = std::move(ended);
    m_checker = request.checker;
    m_browser->navigateRequest(QUrl(request.url), request.post, request.postData,
                               requestHeaderLines(request.headers));
}

void WebUploadBrowser::end(bool ok)
{
    if (!m_ended)
        return;
    const std::function<void(bool)> ended = std::move(m_ended);
    m_ended = nullptr;
    ended(ok);
}

UploadWindow::UploadWindow()
{
    setObjectName(QStringLiteral("UploadWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(QStringLiteral("Velmarin - バリデータの結果"));
    setFont(WindowFonts::dialogFont());
    resize(900, 700);
    auto *central = new QWidget(this);
    setCentralWidget(central);
    QString error;
    EmbeddedBrowser *browser = createEmbeddedBrowser(central, &error);
    if (browser == nullptr) {
        auto *label = new QLabel(QStringLiteral("ブラウザを読み込めませんでした。\n") + error, this);
        setCentralWidget(label);
        return;
    }
    setCentralWidget(browser->widget());
    auto *clear = new QTimer(this);
    clear->setSingleShot(true);
    clear->setInterval(5000);
    connect(clear, &QTimer::timeout, statusBar(), &QStatusBar::clearMessage);
    m_upload = std::make_unique<WebUploadBrowser>(browser, [this, clear](const QString &text,
                                                                        bool clearLater) {
        if (!text.isEmpty())
            statusBar()->showMessage(text);
        if (clearLater)
            clear->start();
    });
}

UploadWindow::~UploadWindow() = default;

void UploadWindow::closeEvent(QCloseEvent *event)
{
    if (m_upload)
        m_upload->browserGone();
    event->accept();
}

MainFormUploadBrowsers::MainFormUploadBrowsers(std::function<EmbeddedBrowser *()> wb2,
                                               std::function<void(const QString &, bool)> status)
    : m_wb2(std::move(wb2)), m_status(std::move(status))
{
}

MainFormUploadBrowsers::~MainFormUploadBrowsers()
{
    for (const QPointer<UploadWindow> &window : std::as_const(m_windows))
        delete window.data();
}

UploadBrowser *MainFormUploadBrowsers::embeddedBrowser()
{
    if (!m_embedded) {
        EmbeddedBrowser *wb2 = m_wb2();
        if (wb2 == nullptr)
            return nullptr;
        m_embedded = std::make_unique<WebUploadBrowser>(wb2, m_status);
    }
    return m_embedded.get();
}

UploadBrowser *MainFormUploadBrowsers::newBrowserWindow()
{
    auto *window = new UploadWindow;
    m_windows.removeAll(nullptr);
    m_windows.append(window);
    if (window->upload() == nullptr) {
        window->show();  // it says why there is no page
        return nullptr;
    }
    window->show();
    return window->upload();
}
