// The main window's table view, offscreen: the Table action asks for a file,
// WB1 shows temp_.html without running scripts, and the buttons step through a
// two-table page. What temp_.html holds is the table linearizer tests'.

#include "access/table_action.h"
#include "app/embedded_browser_gui.h"
#include "app/main_form.h"
#include "support/gui.h"

using namespace Qt::Literals::StringLiterals;

class TableViewFormTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void stepsThroughTwoTables()
    {
        TempHome home;
        RecordingRunner runner;
        MainForm f(QStringList(), &runner);
        f.resize(560, 600);
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));

        QAction *table = f.action(u"Table"_s);
        QVERIFY(table && table->isEnabled());
        QCOMPARE(table->shortcut(), QKeySequence(u"Ctrl+T"_s));

        home.write(u"hours.html"_s,
                   "<table><tr><td>one</td></tr></table>\n"
                   "<table><tr><td>second table</td></tr></table>\n");
        const QString page = home.file(u"hours.html"_s);
        onNextModal<QFileDialog>(&f, [page](QFileDialog *dialog) {
            dialog->selectFile(page);
            QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
        });
        table->trigger();

        QCOMPARE(f.PageControl1->currentIndex(), 4);
        EmbeddedBrowser *wb1 = f.webBrowser1();
        if (wb1 == nullptr) QSKIP("the browser engine cannot be loaded here");
        QCOMPARE(wb1->widget()->objectName(), u"WB1"_s);
        const QString temp = home.file(u"temp_.html"_s);
        QTRY_COMPARE(wb1->url(), QUrl::fromLocalFile(temp));
        QCOMPARE(f.Label1->text(), u"1/2"_s);
        QVERIFY(!f.BtnPrev->isEnabled() && f.BtnNext->isEnabled());
        QVERIFY(!wb1->runsScripts());
        EmbeddedBrowser *wb2 = f.webBrowser2();
        QVERIFY(wb2 && wb2->runsScripts());  // the validators' pages need theirs

        QTest::mouseClick(f.BtnNext, Qt::LeftButton);
        QCOMPARE(f.Label1->text(), u"2/2"_s);
        QVERIFY(f.BtnPrev->isEnabled() && !f.BtnNext->isEnabled());
        QVERIFY(home.read(u"temp_.html"_s).contains("second table"));
        QCOMPARE(wb1->url(), QUrl::fromLocalFile(temp));

        QTest::mouseClick(f.BtnPrev, Qt::LeftButton);
        QCOMPARE(f.Label1->text(), u"1/2"_s);
        QVERIFY(!f.BtnPrev->isEnabled() && f.BtnNext->isEnabled());
        QCOMPARE(f.tableAction().shown(), 0);

        // The picture for the manual: the first table of a real page.
        const QString manual = u"/usr/share/doc/w3m/ja/MANUAL.html"_s;
        if (!QFile::exists(manual)) QSKIP("w3m's manual is not installed");
        f.tableAction().open(manual);
        QTRY_VERIFY(!wb1->isLoading());
        QTest::qWait(1500);  // let the engine paint the page for the picture
        QVERIFY(saveScreenshot(&f, u"table-linearisation.png"_s));
    }
};

QTEST_MAIN(TableViewFormTest)
#include "table_view_form_test.moc"
