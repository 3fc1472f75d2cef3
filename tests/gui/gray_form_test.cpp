// The grayscale window, offscreen, on pictures written here.
#include "access/gray_form.h"

#include "support/window_test.h"
#include <QLinearGradient>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <functional>

#include "access/gray_image.h"

using namespace Qt::Literals::StringLiterals;

namespace {

// Runs `inside` on the modal window of type T as soon as one opens.
template <class T>
void onNextModal(QObject *context, std::function<void(T *)> inside)
{
    auto *poll = new QTimer(context);
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, context, [poll, inside] {
        if (auto *window = qobject_cast<T *>(QApplication::activeModalWidget())) {
            poll->deleteLater();
            poll->stop();
            inside(window);
        }
    });
    poll->start();
}

// Red, green, blue and white quarters.
QImage quarters(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter p(&image);
    p.fillRect(0, 0, width / 2, height / 2, Qt::red);
    p.fillRect(width / 2, 0, width - width / 2, height / 2, Qt::green);
    p.fillRect(0, height / 2, width / 2, height - height / 2, Qt::blue);
    p.fillRect(width / 2, height / 2, width - width / 2, height - height / 2, Qt::white);
    return image;
}

}  // namespace

class GrayFormTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { m_home = std::make_unique<TempHome>(); }
    void cleanup() { m_home.reset(); }

    void picturesInTheWindow_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QPoint>("at");
        QTest::newRow("PNG that fits")
            << u"small.png"_s << QByteArray("PNG") << QSize(100, 50) << QPoint(200, 165);
        QTest::newRow("PHOTO.JPEG")
            << u"PHOTO.JPEG"_s << QByteArray("JPEG") << QSize(100, 50) << QPoint(200, 165);
        QTest::newRow("wider BMP")
            << u"wide.BMP"_s << QByteArray("BMP") << QSize(900, 51) << QPoint(0, 0);
    }

    void picturesInTheWindow()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, format);
        QFETCH(QSize, picture);
        QFETCH(QPoint, at);
        const QString path = m_home->file(name);
        QVERIFY(quarters(picture.width(), picture.height()).save(path, format.constData(), 100));
        GrayForm f;
        f.resize(500, 380);
        f.setFileName(path);
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QTRY_VERIFY(!f.picture().isNull());
        QCOMPARE(f.windowTitle(), u"グレイスケール表示"_s);
        QCOMPARE(f.minimumSize(), QSize(400, 300));
        QCOMPARE(f.picture().size(), picture);
        QCOMPARE(f.Image1->pos(), at);
        // Red 74, green 149, blue 29, white 252 (JPEG: near them).
        const int tolerance = format == "JPEG" ? 3 : 0;
        const QImage shown = f.picture();
        const QPoint corners[4] = {{5, 5},
                                   {picture.width() - 5, 5},
                                   {5, picture.height() - 5},
                                   {picture.width() - 5, picture.height() - 5}};
        const int grays[4] = {74, 149, 29, 252};
        for (int i = 0; i < 4; ++i) {
            const QColor c = shown.pixelColor(corners[i]);
            QVERIFY2(std::abs(c.red() - grays[i]) <= tolerance, qPrintable(c.name()));
            QCOMPARE(c.red(), c.green());
            QCOMPARE(c.green(), c.blue());
        }
        if (at == QPoint(0, 0)) QVERIFY(f.ScrollBox1->horizontalScrollBar()->maximum() > 0);
        // Resizing places it again.
        f.resize(1000, 400);
        QCOMPARE(f.Image1->pos(),
                 QPoint((1000 - picture.width()) / 2, (400 - picture.height()) / 2));
    }

    void aFileThatCannotBeReadLeavesTheWindowEmpty()
    {
        const QString path = m_home->file(u"broken.png"_s);
        m_home->write(u"broken.png"_s, QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(40, 'x'));
        GrayForm f;
        f.setFileName(path);
        QString message;
        onNextModal<QMessageBox>(&f, [&](QMessageBox *box) {
            message = box->text();
            box->accept();
        });
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QTRY_VERIFY(!message.isEmpty());
        QVERIFY2(message.startsWith(u"画像ファイル「"_s + path + u"」を読み込めませんでした。"_s),
                 qPrintable(message));
        QVERIFY(f.picture().isNull());
    }

    void placementComesFromAndGoesToGForm()
    {
        const QString path = m_home->file(u"a.png"_s);
        QVERIFY(quarters(10, 10).save(path));
        const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
        QPoint openedAt;
        QSize openedSize;
        QTimer::singleShot(0, [&] {
            auto *f = qobject_cast<GrayForm *>(QApplication::activeModalWidget());
            if (!f) return;
            openedAt = f->pos();
            openedSize = f->size();
            f->move(30, 40);
            f->resize(640, 480);
            f->close();
        });
        GrayForm::showFile(path, nullptr);
        QCOMPARE(openedAt, QPoint((screen.width() - 400) / 2, (screen.height() - 300) / 2));
        QCOMPARE(openedSize, QSize(500, 380));
        QCOMPARE(GrayScale::loadPlacement(IniFile(ProgramFolder::iniPath()), screen),
                 QRect(30, 40, 640, 480));
    }

    void screenshot()
    {
        // A colour chart: hues across, a white-to-black fade below them.
        QImage image(360, 240, QImage::Format_RGB32);
        QPainter p(&image);
        for (int x = 0; x < 360; ++x)
            for (int y = 0; y < 160; ++y)
                image.setPixelColor(x, y, QColor::fromHsv(x, 255 - y, 255));
        QLinearGradient fade(0, 0, 360, 0);
        fade.setColorAt(0, Qt::white);
        fade.setColorAt(1, Qt::black);
        p.fillRect(0, 160, 360, 40, fade);
        const QColor swatches[6] = {Qt::red,          Qt::green,        Qt::blue,
                                    QColor(0xFF8000), QColor(0x008080), QColor(0x800080)};
        for (int i = 0; i < 6; ++i) p.fillRect(i * 60, 200, 60, 40, swatches[i]);
        p.end();
        const QString path = m_home->file(u"chart.png"_s);
        QVERIFY(image.save(path));
        GrayForm f;
        f.resize(500, 380);
        f.setFileName(path);
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QTRY_VERIFY(!f.picture().isNull());
        QVERIFY(f.grab().toImage().save(screenshotDir() + u"/grayscale.png"_s));
    }

private:
    std::unique_ptr<TempHome> m_home;
};

QTEST_MAIN(GrayFormTest)
#include "gray_form_test.moc"
