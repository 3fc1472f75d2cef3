// The main window, offscreen: captions, states, rows and a screenshot.
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>
#include <QMimeData>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>
#include <QTreeView>
#include <QUrl>

#include "app/main_actions.h"
#include "app/about_form.h"
#include "app/main_form.h"
#include "integration/shortcut.h"
#include "integration/shortcut_keys.h"
#include "tidy/settings_form.h"
#include <QApplication>
#include <QWebEngineView>
#include "platform/ini_file.h"
#include "platform/program_folder.h"
#include "support/recording_runner.h"
#include "support/temp_home.h"

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

    void captionsAndInitialStates()
    {
        MainForm &f = *m_form;
        QCOMPARE(f.windowTitle(), QStringLiteral("Velmarin"));
        QCOMPARE(f.PageControl1->tabText(0), QStringLiteral("HTML Tidy"));
        QCOMPARE(f.PageControl1->tabPosition(), QTabWidget::South);
        QCOMPARE(f.PageControl1->currentIndex(), 0);
        QAbstractItemModel *model = f.ListView1->model();
        QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("行"));
        QCOMPARE(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("列"));
        QCOMPARE(model->headerData(2, Qt::Horizontal).toString(), QStringLiteral("説明文"));
        QCOMPARE(f.Button1->text(), QStringLiteral("結果をクリア"));
        QCOMPARE(f.BitBtn1->text(), QStringLiteral("中止(&A)"));
        QVERIFY(!f.BitBtn1->isEnabled());
        QCOMPARE(f.ComboBox1->maxVisibleItems(), 10);
        QCOMPARE(f.menuEntry(QStringLiteral("HTMLTidy1"))->text(), QStringLiteral("&HTML Tidy"));
        // The command has its key; a first start shows no keys in the menu.
        QCOMPARE(f.action(QStringLiteral("Tidy"))->shortcut(), QKeySequence(Qt::Key_F9));
        QCOMPARE(f.action(QStringLiteral("ColorChk"))->shortcut(), QKeySequence(QStringLiteral("Ctrl+C")));
        QVERIFY(f.action(QStringLiteral("Gray"))->shortcut().isEmpty());
        QVERIFY(f.menuEntry(QStringLiteral("HTMLTidy1"))->shortcut().isEmpty());
        QCOMPARE(f.menuEntry(QStringLiteral("HTMLTidy1"))->statusTip(), QStringLiteral("HTML Tidyを実行します。"));
        // tidy is on PATH, so the Tidy commands are usable from the start.
        QVERIFY(f.menuEntry(QStringLiteral("HTMLTidy1"))->isEnabled());
        QVERIFY(f.toolButton(QStringLiteral("ToolButton1"))->isEnabled());
        QCOMPARE(f.minimumSize(), QSize(385, 385));
        QCOMPARE(f.width(), 385);
        QCOMPARE(f.height(), 480);
    }

    void pagesMenusAndToolbar()
    {
        MainForm &f = *m_form;
        QStringList tabs;
        for (int i = 0; i < f.PageControl1->count(); ++i)
            tabs << f.PageControl1->tabText(i);
        QCOMPARE(tabs, (QStringList{QStringLiteral("HTML Tidy"), QStringLiteral("CSS"),
                                    QStringLiteral("Link"), QStringLiteral("UpLoad"),
                                    QStringLiteral("線形化")}));
        QCOMPARE(f.CSSList->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("行番号"));
        QCOMPARE(f.CSSList->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("内容"));
        QCOMPARE(f.LinkList->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("リンク先"));
        QCOMPARE(f.LinkList->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("状態"));
        QVERIFY(!f.BitBtn2->isEnabled());
        QVERIFY(!f.PrevButton->isEnabled());
        QCOMPARE(f.NextButton->text(), QStringLiteral("次を表示(&N)>>"));

        QStringList menus;
        for (QAction *a : f.menuBar()->actions())
            menus << a->text();
        QCOMPARE(menus, (QStringList{QStringLiteral("文法チェック(&C)"), QStringLiteral("設定(&O)"),
                                     QStringLiteral("ヘルプ(&H)")}));
        QMenu *check = f.menuBar()->actions().at(0)->menu();
        QStringList items;
        for (QAction *a : check->actions())
            items << a->text();
        QCOMPARE(items, (QStringList{QStringLiteral("文法チェック"), QStringLiteral("ブラウザ"),
                                     QStringLiteral("アップロード"), QStringLiteral("その他"),
                                     QStringLiteral("&URLの入力")}));

        // Commands of later versions are there but disabled, and say so.
        QAction *css = f.menuEntry(QStringLiteral("CSS1"));
        QCOMPARE(css->text(), QStringLiteral("&CSSチェック"));
        QVERIFY(!css->isEnabled());
        QVERIFY(css->statusTip().startsWith(QStringLiteral("CSS Validatorを実行します。")));
        QVERIFY(css->statusTip().contains(QStringLiteral("まだ使えません")));
        QVERIFY(!f.toolButton(QStringLiteral("ToolButton2"))->isEnabled());
        QVERIFY(f.menuEntry(QStringLiteral("Setting1"))->isEnabled());
        QCOMPARE(f.menuEntry(QStringLiteral("Setting1"))->statusTip(),
                 QStringLiteral("Velmarinの設定を行います。"));
        QVERIFY(f.UploadButton->menu() != nullptr);
        QCOMPARE(f.UploadButton->menu()->actions().size(), 4);

        // The embedded browsers cost nothing until their page is shown.
        QVERIFY(!f.webBrowsersCreated());
        f.PageControl1->setCurrentIndex(3);
        QVERIFY(f.webBrowsersCreated());
        QCOMPARE(f.webBrowser2()->objectName(), QStringLiteral("WB2"));
    }

    void settingsDialogOpensFromTheMenuAndItsKeysReachTheWindow()
    {
        MainForm &f = *m_form;
        QVERIFY(f.settingForm() != nullptr);
        QCOMPARE(f.settingForm()->parent(), &f);
        bool shown = false;
        QTimer::singleShot(0, [&shown] {
            if (QWidget *w = QApplication::activeModalWidget()) {
                shown = w->windowTitle() == QStringLiteral("設定");
                w->close();
            }
        });
        f.menuEntry(QStringLiteral("Setting1"))->trigger();
        QVERIFY(shown);

        ShortcutKeys keys = f.actions().settings().keys;
        keys.setValue(shortcutRowOfAction(u"Gray"), Shortcut::make(Shortcut::VkA + 6, false, true));
        f.applyShortcuts(keys, true);
        QCOMPARE(f.action(QStringLiteral("Gray"))->shortcut(), QKeySequence(QStringLiteral("Ctrl+G")));
        QCOMPARE(f.menuEntry(QStringLiteral("GrayScale1"))->shortcut(),
                 QKeySequence(QStringLiteral("Ctrl+G")));
    }

    void aboutBoxShowsTheBuildVersion()
    {
        AboutForm about(m_form.get());
        QCOMPARE(about.windowTitle(), QStringLiteral("About"));
        QCOMPARE(AboutForm::versionText(), QStringLiteral("Velmarin Ver ") + QStringLiteral(VELMARIN_VERSION));
        about.show();
        QVERIFY(!about.grab().isNull());
    }

    void keyIniGivesTheKeysToCommandsAndMenus()
    {
        m_form.reset();
        m_home->write(QStringLiteral("key.ini"), "[Key]\r\nTidy=ctrl+t\r\nGray=Alt+G\r\n");
        m_form = std::make_unique<MainForm>(QStringList(), m_runner.get());
        MainForm &f = *m_form;
        QCOMPARE(f.action(QStringLiteral("Tidy"))->shortcut(), QKeySequence(QStringLiteral("Ctrl+T")));
        QCOMPARE(f.menuEntry(QStringLiteral("HTMLTidy1"))->shortcut(),
                 QKeySequence(QStringLiteral("Ctrl+T")));
        QCOMPARE(f.action(QStringLiteral("Gray"))->shortcut(), QKeySequence(QStringLiteral("Alt+G")));
        // A key missing from the file leaves its command without one.
        QVERIFY(f.action(QStringLiteral("ColorChk"))->shortcut().isEmpty());
    }

    void tidyRunFillsTheListAndTheScreenshotShowsIt()
    {
        MainForm &f = *m_form;
        const QString page = m_home->file(QStringLiteral("sample.html"));
        QFile::copy(testDataPath(QStringLiteral("sample.html")), page);
        f.resize(760, 420);
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        // The sample page is UTF-8; the first-start settings read Latin-1.
        TidyOptionValues &tidy = f.actions().settings().tidy;
        tidy.select(QStringLiteral("input-encoding"), QStringLiteral("utf8"));
        tidy.select(QStringLiteral("output-encoding"), QStringLiteral("utf8"));
        tidy.select(QStringLiteral("char-encoding"), QStringLiteral("utf8"));
        tidy.select(QStringLiteral("accessibility-check"), QStringLiteral("1"));
        f.actions().settingsStore().save();
        f.actions().checkDocument(page);

        QAbstractItemModel *model = f.ListView1->model();
        QVERIFY(model->rowCount() >= 4);
        QCOMPARE(model->index(0, 2).data().toString(),
                 QStringLiteral("情報: チェックしたHTML: ") + page);
        bool warningIcon = false;
        for (int row = 0; row < model->rowCount(); ++row)
            if (model->index(row, 2).data().toString().startsWith(QStringLiteral("Warning: ")))
                warningIcon = !model->index(row, 0).data(Qt::DecorationRole).isNull();
        QVERIFY(warningIcon);
        QVERIFY(f.ToolBar1->isEnabled());
        QVERIFY(f.Button1->isEnabled());
        QCOMPARE(m_runner->opened.size(), 1);

        f.ListView1->header()->resizeSection(0, 48);
        f.ListView1->header()->resizeSection(1, 48);
        QTest::qWait(50);
        const QImage shot = f.grab().toImage();
        QVERIFY(!shot.isNull());
        const QString dir = qEnvironmentVariableIsSet("VELMARIN_UPDATE_DOCS")
                                ? QStringLiteral(VELMARIN_DOCS_DIR)
                                : QDir::currentPath();
        QVERIFY(shot.save(dir + QStringLiteral("/main-window.png")));
    }

    void statusMessagesClearAfterTheTimer()
    {
        MainForm &f = *m_form;
        f.showStatus(QStringLiteral("HTML文書の取得に失敗しました。"), true);
        QCOMPARE(f.statusBar()->currentMessage(), QStringLiteral("HTML文書の取得に失敗しました。"));
        QVERIFY(f.Timer1.isActive());
        QCOMPARE(f.Timer1.interval(), 5000);
        f.Timer1.start(1);
        QTRY_VERIFY(f.statusBar()->currentMessage().isEmpty());
        QVERIFY(!f.Timer1.isActive());
    }

    void contextMenuFollowsTheRows()
    {
        MainForm &f = *m_form;
        Q_EMIT f.PopupMenu1->aboutToShow();
        int enabled = 0;
        for (QAction *a : f.PopupMenu1->actions())
            enabled += (!a->isSeparator() && a->isEnabled()) ? 1 : 0;
        QCOMPARE(enabled, 0);
        QCOMPARE(f.PopupMenu1->actions().size(), 4);

        f.actions().tidyList().showMessageRow(QStringLiteral("x"));
        Q_EMIT f.PopupMenu1->aboutToShow();
        for (QAction *a : f.PopupMenu1->actions())
            QVERIFY(a->isSeparator() || a->isEnabled());

        f.Button1->click();
        QCOMPARE(f.ListView1->model()->rowCount(), 0);
    }

    void droppingOneFileRunsTidy()
    {
        MainForm &f = *m_form;
        const QString page = m_home->file(QStringLiteral("dropped.html"));
        QFile::copy(testDataPath(QStringLiteral("sample.html")), page);
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(page)});
        QWidget *viewport = f.ListView1->viewport();
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &drop);
        QTRY_VERIFY(f.ListView1->model()->rowCount() >= 2);
        QCOMPARE(f.ListView1->model()->index(0, 2).data().toString(),
                 QStringLiteral("情報: チェックしたHTML: ") + page);
    }

    void closingStoresThePlacementAndEmptiesTheWorkingFolder()
    {
        MainForm &f = *m_form;
        const QString work = ProgramFolder::workDir();
        QFile marker(work + QStringLiteral("tidy_out.txt"));
        QVERIFY(marker.open(QIODevice::WriteOnly));
        marker.close();
        f.show();
        f.move(30, 40);
        f.resize(500, 400);
        f.close();
        IniFile ini(ProgramFolder::iniPath());
        QCOMPARE(ini.readInt(QStringLiteral("Position"), QStringLiteral("Width"), 0), 500);
        QCOMPARE(ini.readInt(QStringLiteral("Position"), QStringLiteral("Height"), 0), 400);
        QVERIFY(!QFile::exists(work + QStringLiteral("tidy_out.txt")));
    }

private:
    std::unique_ptr<TempHome> m_home;
    std::unique_ptr<RecordingRunner> m_runner;
    std::unique_ptr<MainForm> m_form;
};

QTEST_MAIN(MainFormTest)
#include "main_form_test.moc"
