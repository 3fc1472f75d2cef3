#include "access/portal_colour_picker_gui.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QRandomGenerator>

#include "access/colour_contrast.h"

namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kRequest = QStringLiteral("org.freedesktop.portal.Request");

}  // namespace

PortalColourPicker::PortalColourPicker(const QDBusConnection &bus, QObject *parent)
    : QObject(parent), m_bus(bus)
{
}

void PortalColourPicker::start()
{
    if (m_running) return;
    if (!m_bus.isConnected()) {
        Q_EMIT failed(QString::fromUtf16(ColourContrast::kNoDeviceContext));
        return;
    }
    m_running = true;
    // The request's path is known before the call, so its answer cannot be
    // missed: /org/freedesktop/portal/desktop/request/SENDER/TOKEN.
    const QString token = QStringLiteral("velmarin%1").arg(QRandomGenerator::global()->generate());
    QString sender = m_bus.baseService().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    listen(kPath + QStringLiteral("/request/") + sender + QLatin1Char('/') + token);

    QDBusMessage call = QDBusMessage::createMethodCall(
        kService, kPath, QStringLiteral("org.freedesktop.portal.Screenshot"),
        QStringLiteral("PickColor"));
    call << QString() << QVariantMap{{QStringLiteral("handle_token"), token}};
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *w) {
        w->deleteLater();
        const QDBusPendingReply<QDBusObjectPath> reply = *w;
        if (!m_running) return;
        if (reply.isError()) {
            finish();
            Q_EMIT failed(QString::fromUtf16(ColourContrast::kNoDeviceContext));
            return;
        }
        // Older portals choose the path themselves.
        if (reply.value().path() != m_requestPath) listen(reply.value().path());
    });
}

void PortalColourPicker::listen(const QString &requestPath)
{
    if (!m_requestPath.isEmpty())
        m_bus.disconnect(kService, m_requestPath, kRequest, QStringLiteral("Response"), this,
                         SLOT(onResponse(uint, QVariantMap)));
    m_requestPath = requestPath;
    m_bus.connect(kService, m_requestPath, kRequest, QStringLiteral("Response"), this,
                  SLOT(onResponse(uint, QVariantMap)));
}

void PortalColourPicker::onResponse(uint response, const QVariantMap &results)
{
    if (!m_running) return;
    finish();
    if (response == 1) {  // the user cancelled
        Q_EMIT cancelled();
        return;
    }
    const QVariant colour = results.value(QStringLiteral("color"));
    if (response != 0 || !colour.canConvert<QDBusArgument>()) {
        Q_EMIT failed(QString::fromUtf16(ColourContrast::kPixelFailed));
        return;
    }
    double r = -1, g = -1, b = -1;
    const QDBusArgument argument = colour.value<QDBusArgument>();
    argument.beginStructure();
    argument >> r >> g >> b;
    argument.endStructure();
    if (!(r >= 0 && r <= 1 && g >= 0 && g <= 1 && b >= 0 && b <= 1)) {
        Q_EMIT failed(QString::fromUtf16(ColourContrast::kPixelFailed));
        return;
    }
    Q_EMIT picked(QColor(qRound(r * 255), qRound(g * 255), qRound(b * 255)));
}

void PortalColourPicker::finish()
{
    m_running = false;
    m_bus.disconnect(kService, m_requestPath, kRequest, QStringLiteral("Response"), this,
                     SLOT(onResponse(uint, QVariantMap)));
    m_requestPath.clear();
}
