// The grayscale window, offscreen: the picture shown gray and placed, a damaged
// file refused, the placement kept in GForm, and the screenshot. The gray values
// and the placement rules are the image decoder tests'.
#include "access/gray_form.h"

#include "access/gray_image.h"
#include "support/gui.h"

using namespace Qt::Literals::StringLiterals;

class GrayFormTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { m_home = std::make_unique<TempHome>(); }
    void cleanup() { m_home.reset(); }

    // A colour chart: hues across, a white-to-black fade and red, green, blue below.
    void theChartShownGrayWithTheScreenshot()
    {
        GrayForm f;
        f.resize(500, 380);
        f.setFileName(testDataPath(u"gray_form_chart.png"_s));
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QTRY_VERIFY(!f.picture().isNull());
        QCOMPARE(f.picture().pixelColor(60, 220), QColor(74, 74, 74));  // the red swatch
        QCOMPARE(f.Image1->pos(), QPoint(70, 70));
        QVERIFY(saveScreenshot(&f, u"grayscale.png"_s));
        f.resize(1000, 400);  // resizing places it again
        QCOMPARE(f.Image1->pos(), QPoint(320, 80));
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
        QVERIFY(QImage(10, 10, QImage::Format_RGB32).save(path));
        const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
        QRect opened;
        onNextModal<GrayForm>(this, [&](GrayForm *f) {
            opened = QRect(f->pos(), f->size());
            f->move(30, 40);
            f->resize(640, 480);
            f->close();
        });
        GrayForm::showFile(path, nullptr);
        QCOMPARE(opened, QRect((screen.width() - 400) / 2, (screen.height() - 300) / 2, 500, 380));
        QCOMPARE(GrayScale::loadPlacement(IniFile(ProgramFolder::iniPath()), screen),
                 QRect(30, 40, 640, 480));
    }

private:
    std::unique_ptr<TempHome> m_home;
};

QTEST_MAIN(GrayFormTest)
#include "gray_form_test.moc"
