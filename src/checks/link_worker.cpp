#include "link_worker.h"

#include <QMetaObject>

#include "checks/link_verifier.h"
#include "fetch/http_client.h"

LinkWorker::LinkWorker(Job job, QObject *context, Apply apply)
    : m_job(std::move(job)), m_context(context), m_apply(std::move(apply))
{
}

LinkWorker::~LinkWorker()
{
    requestStop();
    wait();
}

void LinkWorker::requestStop()
{
    m_stop = true;
    QMutexLocker lock(&m_mailbox->mutex);
    m_mailbox->stopped = true;
    m_mailbox->applied.wakeAll();
}

bool LinkWorker::handOver(int row, const QString &text)
{
    const std::shared_ptr<Mailbox> box = m_mailbox;
    quint64 ticket;
    {
        QMutexLocker lock(&box->mutex);
        if (box->stopped) return false;
        ticket = ++box->posted;
    }
    // The call is dropped unapplied when the context is gone or the worker was
    // stopped; requestStop() also runs on the main thread, so no write can
    // slip in after it.
    QMetaObject::invokeMethod(
        m_context,
        [box, ticket, apply = m_apply, row, text] {
            bool stopped;
            {
                QMutexLocker lock(&box->mutex);
                stopped = box->stopped;
            }
            if (!stopped) apply(row, text);
            QMutexLocker lock(&box->mutex);
            box->done = ticket;
            box->applied.wakeAll();
        },
        Qt::QueuedConnection);
    QMutexLocker lock(&box->mutex);
    while (box->done < ticket && !box->stopped) box->applied.wait(&box->mutex);
    return !box->stopped;
}

void LinkWorker::run()
{
    HttpClient client;
    LinkVerifier::Setup setup;
    setup.client = &client;
    setup.workFile = m_job.workFile;
    setup.linkBase = m_job.linkBase;
    setup.linkAbort = m_job.linkAbort;
    setup.stop = &m_stop;
    setup.headDeadlineMs = m_job.headDeadlineMs;
    LinkVerifier verifier(setup);

    const QString progress = QStringLiteral("をチェック中...     リンク数/%1").arg(m_job.totalRows);
    for (int i = 0; i < m_job.links.size(); ++i) {
        if (m_stop) return;
        const int row = m_job.firstRow + i;
        const QString &link = m_job.links.at(i);
        if (m_job.linkAbort->load()) {
            // The rows after this one keep "未".
            handOver(row, LinkText::kAborted);
            return;
        }
        if (!handOver(-1, link + progress)) return;
        QString status;
        try {
            status = verifier.checkOneLink(link, m_job.document, m_job.pageUrl);
        } catch (const LinkBaseMissing &) {
            return;  // the folder has gone: this worker simply ends
        }
        if (!handOver(row, status)) return;
    }
}
