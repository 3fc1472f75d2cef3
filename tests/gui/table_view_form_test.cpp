// The main window's table view, offscreen: the Table action asks for a file,
// WB1 shows temp_.html without running anything of the page, and the buttons
// step through a two-table page.
#include "support/window_test.h"

#include "access/table_action.h"
#include "app/embedded_browser_gui.h"
#include "app/main_form.h"

using namespace Qt::Literals::StringLiterals;

namespace {

const char kTwoTables[] =
    "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\"></head><body>\n"
    "<table summary=\"営業時間の表\">\n"
    "<caption>営業時間</caption>\n"
    "<tr><th>曜日</th><th>時間</th></tr>\n"
    "<tr><td>月〜金</td><td>9時〜18時</td></tr>\n"
    "<tr><td>土</td><td><img src=\"closed.gif\" alt=\"休み\" onerror=\"alert(1)\">"
    "<script>document.title='ran'</script></td></tr>\n"
    "</table>\n"
    "<table><tr><td>second table</td></tr></table>\n"
    "</body></html>\n";

}  // namespace

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

        home.write(u"hours.html"_s, kTwoTables);
        const QString page = home.file(u"hours.html"_s);
        QTimer::singleShot(0, [page] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
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
        QCOMPARE(f.BtnPrev->text(), u"<<前を表示(&P)"_s);
        QCOMPARE(f.BtnNext->text(), u"次を表示(&N)>>"_s);
        QVERIFY(home.read(u"temp_.html"_s).contains("charset=shift_jis"));
        QVERIFY(!home.read(u"temp_.html"_s).contains("script") && !home.read(u"temp_.html"_s).contains("onerror"));
        QVERIFY(!wb1->runsScripts());
        EmbeddedBrowser *wb2 = f.webBrowser2();
        QVERIFY(wb2 && wb2->runsScripts());  // the validators' pages need theirs

        QTest::mouseClick(f.BtnNext, Qt::LeftButton);
        QCOMPARE(f.Label1->text(), u"2/2"_s);
        QVERIFY(f.BtnPrev->isEnabled() && !f.BtnNext->isEnabled());
        QVERIFY(home.read(u"temp_.html"_s).contains("\t<tr><td>second table</td></tr>\r\n"));
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
        QVERIFY(f.grab().toImage().save(screenshotDir() + u"/table-linearisation.png"_s));
    }
};

QTEST_MAIN(TableViewFormTest)
#include "table_view_form_test.moc"
