// Picking a colour from the screen of a real X server (the Xvfb the test is
// run in) with real pointer clicks through XTEST (xdotool).
#include "access/color_chk_form.h"
#include "access/color_combo_widget.h"
#include "access/color_palette_form.h"
#include "support/window_test.h"

using namespace Qt::Literals::StringLiterals;

namespace {

QColor screenPixel(const QPoint &at)
{
    return QGuiApplication::primaryScreen()
        ->grabWindow(0, at.x(), at.y(), 1, 1)
        .toImage()
        .pixelColor(0, 0);
}

bool clickAt(const QPoint &at)
{
    return QProcess::execute(u"xdotool"_s, {u"mousemove"_s, QString::number(at.x()),
                                            QString::number(at.y()), u"click"_s, u"1"_s}) == 0;
}

}  // namespace

class ColorPickTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The colour under the next click; then the palette, a window of its own,
    // takes real clicks beside a modal colour check.
    void picksFromTheScreenAndThePalette()
    {
        QCOMPARE(QGuiApplication::platformName(), u"xcb"_s);
        const QColor dark(0x12, 0x34, 0x56);
        QWidget swatch;  // a top-level window that is all one colour
        swatch.setWindowFlag(Qt::X11BypassWindowManagerHint);
        swatch.setPalette(QPalette(dark));
        swatch.setAutoFillBackground(true);
        swatch.setGeometry(800, 600, 120, 80);
        swatch.show();
        QVERIFY(QTest::qWaitForWindowExposed(&swatch));
        const QPoint inSwatch = swatch.geometry().center();
        QTRY_COMPARE(screenPixel(inSwatch), dark);  // the X server shows it first

        ColorChkForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(!form.geometry().contains(inSwatch));
        form.Button4->click();
        QVERIFY(form.isPicking() && !form.Button4->isEnabled());
        QVERIFY(clickAt(inSwatch));
        QTRY_VERIFY(!form.isPicking());
        QCOMPARE(form.ColorCombo2->ActiveColor(), dark);
        QCOMPARE(form.Edit2->text(), u"#123456"_s);
        QCOMPARE(form.Label8->text(), u"前景色: 0,0,0  背景色: 18,52,86"_s);
        QVERIFY(form.Button4->isEnabled());

        form.hide();
        form.setWindowModality(Qt::ApplicationModal);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(clickAt(form.ColorCombo1->mapToGlobal(form.ColorCombo1->rect().center())));
        ColorPaletteForm *palette = ColorPaletteForm::current();
        QVERIFY(palette);
        QTRY_VERIFY(palette->isVisible());
        QVERIFY(QTest::qWaitForWindowExposed(palette));
        PickBtn *red = palette->PickBtns[26];
        QVERIFY(clickAt(red->mapToGlobal(red->rect().center())));
        QTRY_COMPARE(form.ColorCombo1->ActiveColor(), QColor(Qt::red));
        QVERIFY(!palette->isVisible());
        QCOMPARE(form.Edit1->text(), u"#FF0000"_s);
    }
};

QTEST_MAIN(ColorPickTest)
#include "color_pick_test.moc"
