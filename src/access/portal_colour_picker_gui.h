#pragma once

#include <QColor>
#include <QDBusConnection>
#include <QObject>
#include <QVariantMap>

// A colour picked on the screen by the desktop portal
// (org.freedesktop.portal.Screenshot.PickColor), for Wayland sessions, where
// a program may neither grab the pointer nor read the screen itself. The
// portal shows its own picker and answers on the session bus.
class PortalColourPicker : public QObject {
    Q_OBJECT
public:
    explicit PortalColourPicker(const QDBusConnection &bus = QDBusConnection::sessionBus(),
                                QObject *parent = nullptr);

    // Asks the portal; the answer comes as picked(), cancelled() or failed().
    void start();
    bool isRunning() const { return m_running; }
    // Stops listening; a later answer of the portal is ignored.
    void cancel()
    {
        if (m_running) finish();
    }

Q_SIGNALS:
    void picked(const QColor &colour);
    void cancelled();
    // The message for the user.
    void failed(const QString &message);

private Q_SLOTS:
    void onResponse(uint response, const QVariantMap &results);

private:
    void listen(const QString &requestPath);
    void finish();

    QDBusConnection m_bus;
    QString m_requestPath;
    bool m_running = false;
};
