// Uploads shown in the window: WB2 with the local markup validator's answer,
// a separate window for a second service, and the URL dialog.
#include "app/open_url_form.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QPointer>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "app/embedded_browser_gui.h"
#include "app/main_actions.h"
#include "app/main_form.h"
#include "app/upload_browsers_gui.h"
#include "support/gui.h"
#include "support/local_http_server.h"
#include "support/validator_peers.h"

using namespace Qt::Literals::StringLiterals;

namespace {

QString plainText(QWebEngineView *view)
{
    QString text;
    bool done = false;
    view->page()->toPlainText([&](const QString &t) {
        text = t;
        done = true;
    });
    return QTest::qWaitFor([&] { return done; }, 20000) ? text : QStringLiteral("(no page text)");
}

}  // namespace

class OpenUrlFormTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void wb2ShowsTheMarkupValidatorsAnswer()
    {
        ValidatorPeers peers(false);
        if (!peers.problem().isEmpty()) QSKIP(qPrintable(peers.problem()));
        TempHome home;
        QVERIFY(
            QFile::copy(testDataPath(u"open_url_form_sample.html"_s), home.file(u"sample.html"_s)));
        LocalHttpServer recorder(LocalHttpServer::Recording);
        setValidatorHosts(peers.origin(), {"Markup"});
        setValidatorHosts(recorder.origin(), {"WDG"});
        RecordingRunner runner;
        auto form = std::make_unique<MainForm>(QStringList(), &runner);
        MainForm &f = *form;
        f.resize(760, 560);
        f.show();

        // Two uploads at once: the markup validator in WB2, WDG in a window.
        f.actions().processCommandLine({u"-w3c"_s, u"-wdg"_s, home.file(u"sample.html"_s)});
        QCOMPARE(f.PageControl1->currentIndex(), 3);
        // The status line names the checker of the latest request.
        QVERIFY(
            f.statusBar()->currentMessage().startsWith(u"WDG HTML Validatorへ送信しています: "_s));
        QTRY_VERIFY_WITH_TIMEOUT(f.actions().upload().allSlotsEmpty(), 60000);

        auto *wb2 = qobject_cast<QWebEngineView *>(f.webBrowser2()->widget());
        QVERIFY(wb2 != nullptr);
        QCOMPARE(wb2->url().toString(), peers.origin() + u"/check"_s);
        const QString answer = plainText(wb2);
        QVERIFY2(
            answer.contains(u"Error found while checking this document as XHTML 1.0 Strict!"_s),
            qPrintable(answer.left(400)));
        QVERIFY(answer.contains(u"the uploaded file sample.html"_s));

        QList<UploadWindow *> windows;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *u = qobject_cast<UploadWindow *>(w)) windows << u;
        QCOMPARE(windows.size(), 1);
        QVERIFY(windows.first()->isVisible());
        // What WDG is sent is the console upload tests'; here, that it went.
        QTRY_VERIFY(!recorder.requests().isEmpty());

        QTest::qWait(500);  // let the page paint before the picture
        QVERIFY(saveScreenshot(&f, u"upload-wb2.png"_s));
        // It stays while the main window lives, and goes with it.
        QVERIFY(!windows.first()->testAttribute(Qt::WA_QuitOnClose));
        QPointer<UploadWindow> separate = windows.first();
        f.close();
        QVERIFY(separate);
        form.reset();
        QVERIFY(!separate);
    }

    // A refused OK keeps the dialog; a long address in the history leaves the dialog
    // and its list on the screen, the list elides it, what is checked is the whole
    // address, and it goes first in the history.
    void urlDialogRefusesAndRemembersALongAddress()
    {
        TempHome home;
        QVERIFY(
            QFile::copy(testDataPath(u"open_url_form_history.txt"_s), home.file(u"URLList.txt"_s)));
        const QByteArray tracked = home.read(u"URLList.txt"_s).split('\n').at(1).trimmed();
        TOpenURLForm form;
        QStringList notices;
        form.setNoticeHandler([&](const QString &text) { notices << text; });
        QCOMPARE(form.ComboBox1->count(), 3);
        QCOMPARE(form.ComboBox1->currentText(), QString());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QRect screen = form.screen()->availableGeometry();
        QVERIFY(form.frameGeometry().width() <= screen.width());

        form.ComboBox1->setEditText(u"http://example.org/a.html"_s);
        form.okClick();
        QCOMPARE(notices, QStringList{u"実行したいチェックを選択してください。"_s});
        QVERIFY(!form.close());  // a refused OK keeps the dialog open
        form.CheckBoxes[3]->setChecked(true);
        form.CheckBoxes[5]->setChecked(true);
        QVERIFY(saveScreenshot(&form, u"url-dialog.png"_s));

        form.ComboBox1->setCurrentIndex(1);
        QCOMPARE(form.ComboBox1->currentText().toUtf8(), tracked);
        form.ComboBox1->lineEdit()->setCursorPosition(0);

        form.ComboBox1->showPopup();
        QWidget *popup = form.ComboBox1->view()->window();
        QTRY_VERIFY(popup->isVisible());
        QVERIFY(popup->width() <= screen.width());
        QTest::qWait(200);
        // The dialog with its list open, as one picture.
        const QRect both = form.frameGeometry().united(popup->geometry());
        QImage shot(both.size(), QImage::Format_RGB32);
        shot.fill(Qt::white);
        {
            QPainter painter(&shot);
            painter.drawPixmap(form.geometry().topLeft() - both.topLeft(), form.grab());
            painter.drawPixmap(popup->geometry().topLeft() - both.topLeft(), popup->grab());
        }
        QVERIFY(shot.save(screenshotDir() + u"/url-dialog-history.png"_s));
        form.ComboBox1->hidePopup();

        form.okClick();
        QCOMPARE(form.result(), int(QDialog::Accepted));
        QCOMPARE(form.acceptedUrl().toUtf8(), tracked);
        QCOMPARE(form.tickedChecks(),
                 (QVector<bool>{false, false, false, true, false, true, false}));
        QVERIFY(home.read(u"URLList.txt"_s).startsWith(tracked + "\r\n"));
    }
};

QTEST_MAIN(OpenUrlFormTest)
#include "open_url_form_test.moc"
