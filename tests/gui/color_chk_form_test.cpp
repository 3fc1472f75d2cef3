// The colour check window and its colour selectors, offscreen.
#include "access/color_chk_form.h"

#include <QClipboard>
#include <QColorDialog>

#include "access/color_combo_widget.h"
#include "access/color_palette_form.h"
#include "support/gui.h"

using namespace Qt::Literals::StringLiterals;

namespace {

// Collects the texts of the message boxes the window shows, which are closed.
void catchMessages(QObject *context, QStringList &texts)
{
    onNextModal<QMessageBox>(context, [&texts](QMessageBox *box) {
        texts << box->text();
        box->accept();
    });
}

}  // namespace

class ColorChkFormTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        m_form = std::make_unique<ColorChkForm>();
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    }
    void cleanup() { m_form.reset(); }

    // The first calculation is shown at once, each row in its colours.
    void theFirstCalculation()
    {
        ColorChkForm &f = *m_form;
        QCOMPARE(f.Results[0]->text(), u"明度差 :255 色差 :765"_s);
        QCOMPARE(f.Results[1]->palette().color(QPalette::Window), QColor(0xFF, 0xFA, 0xFA));
        for (QLabel *label : f.findChildren<QLabel *>())
            QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->text()));
        QVERIFY(f.BitBtn1->geometry().bottom() < f.height());
        const QSize free = f.screen()->geometry().size() - f.frameGeometry().size();
        QCOMPARE(f.frameGeometry().topLeft(), QPoint(free.width() / 2, free.height() / 2));
    }

    // Which texts are colours is the colour contrast tests'; here, what a
    // refusal and an acceptance do to the window.
    void calculatingFromTheEdits()
    {
        const QString white = u"#FFFFFF"_s, unchanged = u"明度差 :255 色差 :765"_s;
        const struct {
            QString foreground, background, edit1, result;  // edit1 and first row after the press
            int refused;                                    // 0 none, 1 Edit1, 2 Edit2
        } cases[] = {
            {u"ff8000"_s, u"#ffffff"_s, u"#FF8000"_s, u"明度差 :104 色差 :382"_s, 0},
            {u"#FFF"_s, white, u"#FFF"_s, unchanged, 1},
            {QString(1000, u'G'), white, u"GGGGGGG"_s, unchanged, 1},  // the edit keeps 7
            // The foreground stays applied when the background is refused.
            {u"#808080"_s, u"12345"_s, u"#808080"_s, u"明度差 :127 色差 :381"_s, 2},
        };
        for (const auto &c : cases) {
            init();
            ColorChkForm &f = *m_form;
            f.Edit1->setText(c.foreground);
            f.Edit2->setText(c.background);
            QStringList messages;
            catchMessages(&f, messages);
            f.Button2->click();
            QCOMPARE(f.Edit1->text(), c.edit1);
            // A refused text stays as typed; an accepted one is shown in capitals.
            QCOMPARE(f.Edit2->text(), c.refused == 2 ? c.background : c.background.toUpper());
            QCOMPARE(f.Results[0]->text(), c.result);
            QCOMPARE(messages.size(), c.refused ? 1 : 0);
            if (c.refused) {
                QCOMPARE(messages.at(0), u"数値が有効な16進数ではありません。"_s);
                QLineEdit *edit = c.refused == 1 ? f.Edit1 : f.Edit2;
                QCOMPARE(edit->selectedText(), edit->text());
                QCOMPARE(f.focusWidget(), edit);
            }
        }
    }

    void thePalette()
    {
        ColorChkForm &f = *m_form;
        ColorPaletteForm *palette = ColorPaletteForm::current();
        QVERIFY(palette);
        QSignalSpy changed(f.ColorCombo1, &ColorCombo::changed);

        // The colour it already has: no change.
        f.ColorCombo1->showPopup();
        QVERIFY(palette->isVisible());
        // Where it goes near the screen's edges is the placement test's; here, below.
        QCOMPARE(palette->pos(), f.ColorCombo1->mapToGlobal(QPoint(0, f.ColorCombo1->height())));
        palette->PickBtns[0]->click();
        QVERIFY(!palette->isVisible());
        QCOMPARE(changed.count(), 0);

        // Another colour: one change, everything recalculated.
        f.ColorCombo1->showPopup();
        palette->PickBtns[26]->click();
        QCOMPARE(changed.count(), 1);
        QCOMPARE(f.Edit1->text(), u"#FF0000"_s);
        QCOMPARE(f.Results[0]->text(), u"明度差 :179 色差 :510"_s);

        // Esc closes it.
        f.ColorCombo2->showPopup();
        QTest::keyClick(palette, Qt::Key_Escape);
        QVERIFY(!palette->isVisible());

        // A cancelled colour dialog leaves the palette open and the colour as it was.
        f.ColorCombo2->showPopup();
        onNextModal<QColorDialog>(palette, [](QColorDialog *d) { d->reject(); });
        palette->BtnOther->click();
        QVERIFY(palette->isVisible());
        QVERIFY(!palette->dialogOpen());
        QCOMPARE(f.ColorCombo2->ActiveColor(), QColor(Qt::white));
        // Chosen in the dialog: taken, and the palette hides.
        onNextModal<QColorDialog>(palette, [](QColorDialog *d) {
            d->setCurrentColor(QColor(0x12, 0x34, 0x56));
            d->accept();
        });
        palette->BtnOther->click();
        QVERIFY(!palette->isVisible());
        QCOMPARE(f.Edit2->text(), u"#123456"_s);
        QCOMPARE(palette->lastColor(), QColor(0x12, 0x34, 0x56));
    }

    // Red on white passes in the first row and fails for the first kind of dichromacy.
    void theScreenshotTheCopyAndClosingDuringAPick()
    {
        ColorChkForm &f = *m_form;
        f.Edit1->setText(u"#FF0000"_s);
        f.Button2->click();
        QVERIFY(saveScreenshot(&f, u"colour-check.png"_s));
        QStringList messages;
        catchMessages(&f, messages);
        f.Button1->click();
        const QString pair = u"color: #FF0000\r\nbackground-color: #FFFFFF"_s;
        QCOMPARE(QGuiApplication::clipboard()->text(), pair);
        QCOMPARE(messages, QStringList{u"クリップボードへ送りました。\r\n"_s + pair});

        f.Button4->click();
        QVERIFY(f.isPicking() && !f.Button4->isEnabled() && f.Button3->isEnabled());
        f.close();
        QVERIFY(!f.isPicking() && f.Button4->isEnabled());
    }

private:
    std::unique_ptr<ColorChkForm> m_form;
};

QTEST_MAIN(ColorChkFormTest)
#include "color_chk_form_test.moc"
