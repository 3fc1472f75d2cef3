#include "upload_worker.h"

#include <QTimer>

#include "checks/upload_browser.h"

UploadWorker::UploadWorker(int service, ValidatorRequest request, UploadBrowsers &browsers,
                           QObject *parent)
    : QObject(parent), m_service(service), m_request(std::move(request)), m_browsers(browsers)
{
    QTimer::singleShot(0, this, &UploadWorker::execute);
}

UploadWorker::~UploadWorker() = default;

void UploadWorker::execute()
{
    if (m_terminated) {
        finish();
        return;
    }
    UploadBrowser *browser = m_request.separateWindow ? m_browsers.newBrowserWindow()
                                                      : m_browsers.embeddedBrowser();
    if (browser == nullptr) {
        finish();
        return;
    }
    m_navigated = true;
    QPointer<UploadWorker> self(this);
    browser->navigate(m_request, [self](bool) {
        if (self)
            self->finish();
    });
}

void UploadWorker::finish()
{
    if (m_finished)
        return;
    m_finished = true;
    // Delivered from the event loop, never from inside the browser's call.
    QTimer::singleShot(0, this, [this] {
        Q_EMIT finished(this);
        deleteLater();
    });
}
