// Picking a colour through the desktop portal, against a portal of the
// test's own on the private session bus the test is run in.
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>

#include "access/portal_colour_picker_gui.h"
#include "support/window_test.h"

using namespace Qt::Literals::StringLiterals;

// org.freedesktop.portal.Screenshot as the desktop offers it, answering each
// PickColor with the Response the test asks for.
class FakeScreenshotPortal : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Screenshot")
public:
    explicit FakeScreenshotPortal(const QDBusConnection &bus) : m_bus(bus) {}

    uint response = 0;
    QVariantMap results;
    bool ownPath = false;  // answer on a path of its own, as older portals do
    int calls = 0;

public Q_SLOTS:
    QDBusObjectPath PickColor(const QString &, const QVariantMap &options, const QDBusMessage &call)
    {
        ++calls;
        QString sender = call.service().mid(1);
        sender.replace(u'.', u'_');
        const QString path =
            u"/org/freedesktop/portal/desktop/request/"_s + sender + u'/' +
            (ownPath ? u"elsewhere"_s : options.value(u"handle_token"_s).toString());
        QTimer::singleShot(ownPath ? 50 : 0, this, [this, path] {
            QDBusMessage signal = QDBusMessage::createSignal(
                path, u"org.freedesktop.portal.Request"_s, u"Response"_s);
            signal << response << results;
            m_bus.send(signal);
        });
        return QDBusObjectPath(path);
    }

private:
    QDBusConnection m_bus;
};

namespace {

QVariant colour(double r, double g, double b)
{
    QDBusArgument argument;
    argument.beginStructure();
    argument << r << g << b;
    argument.endStructure();
    return QVariant::fromValue(argument);
}

}  // namespace

class ColorPortalTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QDBusConnection service = QDBusConnection::sessionBus();
        QVERIFY(service.isConnected());
        m_portal = std::make_unique<FakeScreenshotPortal>(service);
        QVERIFY(service.registerObject(u"/org/freedesktop/portal/desktop"_s, m_portal.get(),
                                       QDBusConnection::ExportAllSlots));
    }

    // Each answer of the portal, or none, in turn on the one picker.
    void answers()
    {
        const QVariantMap blue{{u"color"_s, colour(0.2, 0.4, 0.6)}}, none;
        const QString picked = u"picked #336699"_s, failed = u"failed 色の取得に失敗しました。"_s;
        const struct {
            bool portalThere;
            uint response;
            QVariantMap results;
            bool ownPath;
            QString outcome;
        } cases[] = {
            {true, 0, blue, false, picked},
            {true, 0, blue, true, picked},  // an older portal's own path
            {true, 1, none, false, u"cancelled"_s},
            {true, 2, none, false, failed},
            {true, 0, none, false, failed},
            {true, 0, {{u"color"_s, colour(2, 0, 0)}}, false, failed},
            {false, 0, blue, false,
             u"failed デバイスコンテキストのハンドルを取得できませんでした。"_s},
        };
        QDBusConnection service = QDBusConnection::sessionBus();
        PortalColourPicker picker(
            QDBusConnection::connectToBus(QDBusConnection::SessionBus, u"client"_s));
        QStringList heard;
        connect(&picker, &PortalColourPicker::picked, this,
                [&](const QColor &c) { heard << u"picked "_s + c.name().toUpper(); });
        connect(&picker, &PortalColourPicker::cancelled, this, [&] { heard << u"cancelled"_s; });
        connect(&picker, &PortalColourPicker::failed, this,
                [&](const QString &m) { heard << u"failed "_s + m; });
        for (const auto &c : cases) {
            if (c.portalThere)
                QVERIFY(service.registerService(u"org.freedesktop.portal.Desktop"_s));
            else
                service.unregisterService(u"org.freedesktop.portal.Desktop"_s);
            m_portal->response = c.response;
            m_portal->results = c.results;
            m_portal->ownPath = c.ownPath;
            heard.clear();
            const int callsBefore = m_portal->calls;
            picker.start();
            QVERIFY(picker.isRunning());
            QTRY_VERIFY(!picker.isRunning());
            QCOMPARE(heard, QStringList{c.outcome});
            QCOMPARE(m_portal->calls, callsBefore + (c.portalThere ? 1 : 0));
        }
    }

private:
    std::unique_ptr<FakeScreenshotPortal> m_portal;
};

QTEST_MAIN(ColorPortalTest)
#include "color_portal_test.moc"
