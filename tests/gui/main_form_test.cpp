// The main window, offscreen: captions, states, the wiring of its commands to
// the actions, and the screenshots of docs/.
#include "app/main_form.h"

#include <QHeaderView>
#include <QMenu>
#include <QMimeData>
#include <QProgressBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>

#include "access/table_action.h"
#include "app/about_form.h"
#include "app/embedded_browser_gui.h"
#include "app/main_actions.h"
#include "app/main_form_actions.h"
#include "core/qt_translations.h"
#include "core/window_fonts_gui.h"
#include "integration/shortcut.h"
#include "integration/shortcut_keys.h"
#include "platform/ini_file.h"
#include "platform/program_folder.h"
#include "support/fake_browser_bridge.h"
#include "support/gui.h"
#include "support/local_http_server.h"
#include "tidy/settings_form.h"

using namespace Qt::Literals::StringLiterals;

namespace {

// Drops `file` on `view` as a file manager would; true if the view took it.
bool dropFile(QAbstractItemView *view, const QString &file)
{
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(file)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view->viewport(), &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    if (enter.isAccepted()) QCoreApplication::sendEvent(view->viewport(), &drop);
    return enter.isAccepted();
}

// The window at the size of the pictures, shown.
bool showWide(MainForm &f)
{
    f.resize(760, 420);
    f.show();
    return QTest::qWaitForWindowExposed(&f);
}

// The window with narrow place columns in `view`, saved as `name`.
bool screenshot(MainForm &f, QTreeView *view, int placeWidth, const QString &name)
{
    view->header()->resizeSection(0, 48);
    view->header()->resizeSection(1, placeWidth);
    QTest::qWait(50);
    return saveScreenshot(&f, name);
}

}  // namespace

class MainFormTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_home = std::make_unique<TempHome>();
        m_runner = std::make_unique<RecordingRunner>();
        m_form = std::make_unique<MainForm>(QStringList(), m_runner.get());
    }
    void cleanup()
    {
        m_form.reset();
        m_home.reset();
    }

    void initialStatesAndWhatOpensFromThem()
    {
        MainForm &f = *m_form;
        // tidy is on PATH; a first start puts no key on the menu entries.
        QAction *tidy = f.menuEntry(u"HTMLTidy1"_s);
        QVERIFY(tidy->isEnabled() && tidy->shortcut().isEmpty());
        QCOMPARE(f.action(u"Tidy"_s)->shortcut(), QKeySequence(Qt::Key_F9));

        // The embedded browsers cost nothing until their page is shown.
        QVERIFY(!f.webBrowsersCreated());
        f.PageControl1->setCurrentIndex(3);
        QVERIFY(f.webBrowsersCreated());

        const QString picture = m_home->file(u"PICTURE.PNG"_s);
        QVERIFY(QImage(20, 10, QImage::Format_RGB32).save(picture));
        QStringList shown;
        QTimer poll;
        connect(&poll, &QTimer::timeout, [&shown, &picture] {
            QWidget *w = QApplication::activeModalWidget();
            if (auto *files = qobject_cast<QFileDialog *>(w)) {
                shown << u"file dialog"_s;
                files->selectFile(picture);
                QMetaObject::invokeMethod(files, "accept");
            } else if (w) {
                shown << w->windowTitle();
                w->close();
            }
        });
        poll.start(10);
        f.menuEntry(u"Setting1"_s)->trigger();
        // The colour check opens at once; the grayscale view after its file dialog.
        f.menuEntry(u"ColorContrast1"_s)->trigger();
        f.menuEntry(u"GrayScale1"_s)->trigger();
        poll.stop();
        QCOMPARE(shown, (QStringList{u"設定"_s, u"カラーチェック"_s, u"file dialog"_s,
                                     u"グレイスケール表示"_s}));
        QCOMPARE(QDir::cleanPath(f.actions().folders().lastDir()), m_home->path());
        // The settings' hints go to this status bar.
        QWidget *bare = f.settingForm()->optionControl("bare");
        QStatusTipEvent tip(bare->statusTip());
        QApplication::sendEvent(bare, &tip);
        QVERIFY(!tip.tip().isEmpty());
        QCOMPARE(f.statusBar()->currentMessage(), tip.tip());
        // Messages clear after five seconds.
        f.showStatus(u"HTML文書の取得に失敗しました。"_s, true);
        QCOMPARE(f.statusBar()->currentMessage(), u"HTML文書の取得に失敗しました。"_s);
        QCOMPARE(f.Timer1.interval(), 5000);
        f.Timer1.start(1);
        QTRY_VERIFY(f.statusBar()->currentMessage().isEmpty());
        // The about box shows what it finds: the manual and the Tidy in use.
        const QString tidyPath = f.actions().settings().tidyPath;
        const QStringList about = AboutForm::infoLines(tidyPath);
        QVERIFY(about.at(0).startsWith(u"ライセンス: "_s) &&
                !about.join(u' ').contains(u"example"_s));
        QVERIFY2(about.at(1).endsWith(u"docs/help/index.html"_s), qPrintable(about.at(1)));
        QVERIFY(about.at(2).startsWith(u"HTML Tidy: "_s + tidyPath + u" (HTML Tidy"_s));
        QCOMPARE(AboutForm::infoLines(m_home->file(u"no-tidy"_s)).at(2),
                 u"HTML Tidy: 見つかりません"_s);
    }

    // Qt's own file dialog in Japanese, its filter naming the patterns once.
    void qtsOwnFileDialogSpeaksJapanese()
    {
        MainForm &f = *m_form;
        QVERIFY(installQtJapaneseTranslations(*QCoreApplication::instance()));
        QCOMPARE(MainForm::qtFilter(
                     u"HTMLファイル (*.htm;*.html)|*.htm;*.html|全てのファイル(*.*)|*.*"_s),
                 u"HTMLファイル (*.htm *.html);;全てのファイル (*.*)"_s);
        m_home->write(u"page.html"_s, "<p>x");
        f.actions().folders().remember(m_home->file(u"page.html"_s));
        QStringList labels;
        QString filter;
        onNextModal<QFileDialog>(&f, [&](QFileDialog *files) {
            files->resize(640, 420);
            for (const QLabel *label : files->findChildren<QLabel *>()) labels << label->text();
            for (const QPushButton *button : files->findChildren<QPushButton *>())
                labels << button->text();
            filter = files->selectedNameFilter();
            QTest::qWait(200);
            saveScreenshot(files, u"file-dialog.png"_s);
            files->reject();
        });
        f.menuEntry(u"HTMLTidy1"_s)->trigger();
        QCOMPARE(filter, u"HTMLファイル (*.htm *.html)"_s);
        const QString shown = labels.join(u'|');
        QVERIFY2(shown.contains(u"ファイル名"_s) && !labels.contains(u"Cancel"_s),
                 qPrintable(shown));
    }

    // Of the enabled commands that answer to a key, the first in the action
    // table runs; a menu entry's copy of a key works too.
    void aSharedKeyRunsTheFirstEnabledCommand()
    {
        m_form.reset();
        m_home->write(u"key.ini"_s, "[Key]\r\nIE=F5\r\nCSS=F5\r\nLinkCheck=Ctrl+K\r\n");
        m_form = std::make_unique<MainForm>(QStringList(), m_runner.get());
        MainForm &f = *m_form;
        f.show();
        // Every command asks for a file or folder first; the question is dismissed.
        QTimer dismiss;
        connect(&dismiss, &QTimer::timeout, [] {
            if (QWidget *w = QApplication::activeModalWidget()) w->close();
        });
        dismiss.start(20);
        QString ran;
        for (const MainActionDef &def : mainActionDefs())
            connect(f.action(def.name), &QAction::triggered,
                    [&ran, name = def.name] { ran += name; });
        const auto press = [&](QKeyCombination key) {
            ran.clear();
            f.activateWindow();  // back from the dismissed dialog
            if (!QTest::qWaitForWindowActive(&f)) return u"(window not active)"_s;
            QTest::keyClick(f.ListView1, key.key(), key.keyboardModifiers());
            return ran;
        };

        QCOMPARE(press(Qt::Key_F5), u"InternetEx"_s);  // IE comes first
        f.action(u"InternetEx"_s)->setEnabled(false);
        QCOMPARE(press(Qt::Key_F5), u"CSS"_s);

        // A Cancel of the settings dialog reloads the commands' keys only.
        ShortcutKeys keys = f.actions().settings().keys;
        keys.setValue(shortcutRowOfAction(u"LinkCheck"), Shortcut::make(Shortcut::VkF1 + 11));
        f.applyShortcuts(keys, false);
        QCOMPARE(f.menuEntry(u"Link1"_s)->shortcut(), QKeySequence(u"Ctrl+K"_s));
        QCOMPARE(press(Qt::ControlModifier | Qt::Key_K), u"LinkCheck"_s);
        QCOMPARE(press(Qt::Key_F12), u"LinkCheck"_s);
        QCOMPARE(press(Qt::Key_F3), QString());
    }

    void aDroppedFileFillsTheListAndTheScreenshotShowsIt()
    {
        MainForm &f = *m_form;
        const QString page = m_home->file(u"sample.html"_s);
        QFile::copy(testDataPath(u"sample.html"_s), page);
        QVERIFY(showWide(f));
        // The sample page is UTF-8; the first-start settings read Latin-1.
        TidyOptionValues &tidy = f.actions().settings().tidy;
        for (const char *option : {"input-encoding", "output-encoding", "char-encoding"})
            tidy.select(QString::fromLatin1(option), u"utf8"_s);
        tidy.select(u"accessibility-check"_s, u"1"_s);
        f.actions().settingsStore().save();
        QVERIFY(dropFile(f.ListView1, page));

        QAbstractItemModel *model = f.ListView1->model();
        QTRY_VERIFY(model->rowCount() >= 4);
        QCOMPARE(model->index(0, 2).data().toString(), u"情報: チェックしたHTML: "_s + page);
        QVERIFY(f.ToolBar1->isEnabled() && f.Button1->isEnabled());
        QVERIFY(screenshot(f, f.ListView1, 48, u"main-window.png"_s));
    }

    // A page dropped on the HTML5 page is checked by the real Nu Html Checker.
    void theHtml5CheckFillsItsPage()
    {
        MainForm &f = *m_form;
        IniFile(ProgramFolder::iniPath())
            .writeString(u"Nu"_s, u"Path"_s, QStringLiteral(VELMARIN_VNU_JAR));

        const QString page = m_home->file(u"known.html"_s);
        QVERIFY(QFile::copy(testDataPath(u"nu_check_known.html"_s), page));
        QVERIFY(showWide(f));
        // While it runs: abort on, clear, toolbar, the command, its menu and button off.
        QStringList states;
        connect(&f.actions().nuCheck(), &NuCheck::runningChanged, &f, [&](bool running) {
            states << QStringLiteral("%1%2%3%4%5%6%7")
                          .arg(running)
                          .arg(f.BitBtn3->isEnabled())
                          .arg(f.Button4->isEnabled())
                          .arg(f.ToolBar1->isEnabled())
                          .arg(f.action(u"Nu"_s)->isEnabled())
                          .arg(f.NuMenu && f.NuMenu->menuAction()->isEnabled())
                          .arg(f.NuButton && f.NuButton->isEnabled());
        });
        QVERIFY(dropFile(f.NuList, page));
        QTRY_COMPARE_WITH_TIMEOUT(states.size(), 2, 120000);
        QCOMPARE(states, (QStringList{u"1100000"_s, u"0011111"_s}));
        QCOMPARE(f.PageControl1->currentIndex(), 5);
        QCOMPARE(f.ComboBox2->currentText(), page);
        QAbstractItemModel *model = f.NuList->model();
        QCOMPARE(model->index(1, 2).data().toString(),
                 u"エラー: End tag “p” seen, but there were open elements."_s);
        QVERIFY(!model->index(1, 0).data(Qt::DecorationRole).isNull());

        QVERIFY(screenshot(f, f.NuList, 40, u"html5-check.png"_s));
    }

    // F5 asks the first browser for its page, which is checked.
    void theBrowserActionsCheckTheBrowsersPage()
    {
        LocalHttpServer server;
        QFile sample(testDataPath(u"sample.html"_s));
        QVERIFY(sample.open(QIODevice::ReadOnly));
        server.setPage("/sample.html", sample.readAll());
        FakeBrowserBridge browsers;
        browsers.show(0, server.url("/sample.html"));
        m_form = std::make_unique<MainForm>(QStringList(), m_runner.get(), nullptr, &browsers);
        MainForm &f = *m_form;

        QVERIFY(showWide(f) && QTest::qWaitForWindowActive(&f));
        f.PageControl1->setCurrentIndex(2);
        QTest::keyClick(f.ListView1, Qt::Key_F5);
        QCOMPARE(browsers.asked, QList<int>{0});
        QCOMPARE(f.PageControl1->currentIndex(), 0);
        QAbstractItemModel *model = f.ListView1->model();
        // The downloaded copy was checked: its rows have places, no file header.
        QVERIFY(model->rowCount() >= 2 && !model->index(0, 0).data().toString().isEmpty());
        QVERIFY(screenshot(f, f.ListView1, 48, u"browser-capture.png"_s));
    }

    void folderBatchAndLinkCheckShowTheirProgress()
    {
        MainForm &f = *m_form;
        QVERIFY(showWide(f));
        for (const QString &name :
             QStringList{u"site/a.html"_s, u"site/b.html"_s, u"site/c.html"_s})
            m_home->write(name, "<p>x");
        QCOMPARE(f.ComboBox1->font().families(), WindowFonts::dialogFont().families());
        f.actions().checkFolder(m_home->file(u"site"_s));
        QCOMPARE(f.ComboBox1->count(), 3);
        // Paths line up in the fixed-pitch face once there are any.
        QCOMPARE(f.ComboBox1->font().families(), WindowFonts::fixedFont().families());
        QVERIFY(!f.ProgressBar1->isVisible() && f.ToolBar1->isEnabled());
        QVERIFY(saveScreenshot(&f, u"folder-batch.png"_s));

        // Twelve links go to the two workers; the window shows the run.
        LocalHttpServer server;
        LocalHttpServer::Page slow;
        slow.body = "ok";
        slow.delayMs = 100;
        server.setPage("/p.html", slow);
        QByteArray links;
        for (int i = 0; i < 12; ++i)
            links += "<a href=\"" + server.url("/p.html").toUtf8() + "\">" + QByteArray::number(i) +
                     "</a>\n";
        m_home->write(u"links.html"_s, links);
        QVERIFY(f.actions().linkCheck().checkLinksTarget(m_home->file(u"links.html"_s)));
        QCOMPARE(f.PageControl1->currentIndex(), 2);
        // Which controls a run turns off is the link check tests'; here, that they follow.
        QVERIFY(f.BitBtn2->isEnabled() && !f.Button3->isEnabled() && !f.ToolBar1->isEnabled());
        QTRY_VERIFY(f.ProgressBar1->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(!f.actions().linkCheck().isRunning(), 20000);
        QCOMPARE(f.LinkList->model()->rowCount(), 12);
        QVERIFY(!f.BitBtn2->isEnabled() && f.action(u"LinkCheck"_s)->isEnabled() &&
                !f.ProgressBar1->isVisible());
        QCOMPARE(f.statusBar()->currentMessage(), u"リンクチェックが終了しました。"_s);
        f.LinkList->header()->resizeSection(0, 480);
        QVERIFY(saveScreenshot(&f, u"link-check.png"_s));

        // Closing the window while the workers wait on a stalled server.
        slow.behaviour = LocalHttpServer::Behaviour::StallAfterHeaders;
        server.setPage("/p.html", slow);
        QVERIFY(f.actions().linkCheck().checkLinksTarget(m_home->file(u"links.html"_s)));
        QTest::qWait(200);
        f.close();
        QVERIFY(!f.actions().linkCheck().isRunning());
        m_form.reset();
    }

    // While several dropped files are checked, nothing clears the list: entry N
    // of the selector must keep naming tidy_errN.txt.
    void theListsMenuClearsNothingDuringARun()
    {
        MainForm &f = *m_form;
        const auto enabledEntries = [&f] {
            Q_EMIT f.PopupMenu1->aboutToShow();
            int enabled = 0;
            for (QAction *a : f.PopupMenu1->actions())
                enabled += (!a->isSeparator() && a->isEnabled()) ? 1 : 0;
            return enabled;
        };
        QCOMPARE(enabledEntries(), 0);
        QStringList files;
        for (const QString &name : {u"a.html"_s, u"b.html"_s, u"c.html"_s}) {
            m_home->write(name, "<p>x");
            files << m_home->file(name);
        }
        f.actions().tidyList().showMessageRow(u"x"_s);
        int enabledDuringRun = -1;
        QTimer::singleShot(0, &f, [&] {
            enabledDuringRun = enabledEntries();
            f.PopupMenu1->actions().constFirst()->trigger();
            f.Button1->click();
        });
        f.actions().dropOnTidyList(files);
        f.actions().waitForBatch();
        QCOMPARE(enabledDuringRun, 2);  // save and copy only
        QCOMPARE(f.ComboBox1->itemText(2), files.at(2));
        QCOMPARE(enabledEntries(), 3);
    }

    // The Table action asks for a file, WB1 shows temp_.html without running scripts,
    // and the buttons step through a two-table page; what temp_.html holds is the
    // table linearizer tests'.
    void theTableViewStepsThroughTwoTables()
    {
        MainForm &f = *m_form;
        f.resize(560, 600);
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));

        m_home->write(u"hours.html"_s,
                      "<table><tr><td>one</td></tr></table>\n"
                      "<table><tr><td>second table</td></tr></table>\n");
        const QString page = m_home->file(u"hours.html"_s);
        onNextModal<QFileDialog>(&f, [page](QFileDialog *dialog) {
            dialog->selectFile(page);
            QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
        });
        f.action(u"Table"_s)->trigger();

        QCOMPARE(f.PageControl1->currentIndex(), 4);
        EmbeddedBrowser *wb1 = f.webBrowser1();
        if (wb1 == nullptr) QSKIP("the browser engine cannot be loaded here");
        const QString temp = m_home->file(u"temp_.html"_s);
        QTRY_COMPARE(wb1->url(), QUrl::fromLocalFile(temp));
        QCOMPARE(f.Label1->text(), u"1/2"_s);
        QVERIFY(!f.BtnPrev->isEnabled() && f.BtnNext->isEnabled());
        QVERIFY(!wb1->runsScripts());
        EmbeddedBrowser *wb2 = f.webBrowser2();
        QVERIFY(wb2 && wb2->runsScripts());  // the validators' pages need theirs

        QTest::mouseClick(f.BtnNext, Qt::LeftButton);
        QCOMPARE(f.Label1->text(), u"2/2"_s);
        QVERIFY(f.BtnPrev->isEnabled() && !f.BtnNext->isEnabled());
        QVERIFY(m_home->read(u"temp_.html"_s).contains("second table"));
        QCOMPARE(wb1->url(), QUrl::fromLocalFile(temp));

        QTest::mouseClick(f.BtnPrev, Qt::LeftButton);
        QCOMPARE(f.Label1->text(), u"1/2"_s);
        QVERIFY(!f.BtnPrev->isEnabled() && f.BtnNext->isEnabled());

        // The picture for the manual: the first table of a real page.
        const QString manual = u"/usr/share/doc/w3m/ja/MANUAL.html"_s;
        if (!QFile::exists(manual)) QSKIP("w3m's manual is not installed");
        f.tableAction().open(manual);
        QTRY_VERIFY(!wb1->isLoading());
        QTest::qWait(1500);  // let the engine paint the page for the picture
        QVERIFY(saveScreenshot(&f, u"table-linearisation.png"_s));
    }

private:
    std::unique_ptr<TempHome> m_home;
    std::unique_ptr<RecordingRunner> m_runner;
    std::unique_ptr<MainForm> m_form;
};

QTEST_MAIN(MainFormTest)
#include "main_form_test.moc"
