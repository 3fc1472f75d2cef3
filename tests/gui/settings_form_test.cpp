// The settings dialog and the shortcut capture dialog, offscreen: the wiring
// to the settings store; the rules behind it are the core tests'.
#include "tidy/settings_form.h"

#include <QMainWindow>
#include <QRadioButton>
#include <QStatusTipEvent>
#include <QToolButton>
#include <QTreeWidget>

#include "core/app_settings.h"
#include "core/settings_store.h"
#include "integration/hot_key_widget.h"
#include "integration/setting_sc_form.h"
#include "integration/shortcut.h"
#include "integration/shortcut_target.h"
#include "support/env_guard.h"
#include "support/gui.h"
#include "support/recording_view.h"
#include "tidy/option_catalogue.h"
#include "tidy/tidy_option_controls_gui.h"
#include "tidy/upload_page_gui.h"

using namespace Qt::Literals::StringLiterals;

namespace {

struct RecordingTarget : ShortcutTarget {
    void applyShortcuts(const ShortcutKeys &keys, bool mirrorToMenus) override
    {
        calls << qMakePair(keys, mirrorToMenus);
    }
    QList<QPair<ShortcutKeys, bool>> calls;
};

// Answers the browse buttons without a file dialog.
class TestSettingForm : public SettingForm {
public:
    using SettingForm::SettingForm;
    QString answer;

protected:
    QString chooseFile(const QString &, const QString &, const QString &) override
    {
        return answer;
    }
};

// Shows the dialog, runs `whileOpen` inside it, then presses `close` even when
// a check inside failed, so the test never hangs.
int showAndPress(
    SettingForm &f, QPushButton *close, std::function<void()> whileOpen = [] {})
{
    QTimer::singleShot(0, close, [close, whileOpen] {
        whileOpen();
        close->click();
    });
    return f.showSettings();
}

QCheckBox *box(SettingForm &f, const char *option)
{
    return qobject_cast<QCheckBox *>(f.optionControl(option));
}
QLineEdit *edit(SettingForm &f, const char *option)
{
    return qobject_cast<QLineEdit *>(f.optionControl(option));
}
QComboBox *combo(SettingForm &f, const char *option)
{
    return qobject_cast<QComboBox *>(f.optionControl(option));
}

// The settings as start-up loads them, in a folder of their own; the desktop
// entry goes below it too.
struct Loaded {
    TempHome home;
    EnvGuard env{{"XDG_DATA_HOME", QFile::encodeName(home.file(u"data"_s))}};
    AppSettings settings;
    RecordingView view;
    SettingsStore store{settings, view};
    RecordingTarget target;
    Loaded() { store.load(); }

    // Both the Tidy menu entries and toolbar buttons are in the state `on`.
    bool tidyCommandsAre(bool on) const
    {
        return view.enabled.value(Control::TidyMenuItems, !on) == on &&
               view.enabled.value(Control::TidyToolButtons, !on) == on;
    }
};

}  // namespace

class SettingsFormTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m = std::make_unique<Loaded>();
        m_form = std::make_unique<SettingForm>(m->settings, m->store, &m->target);
    }
    void cleanup()
    {
        m_form.reset();
        m.reset();
    }

    // The first showing shows what start-up loaded; a later one reads the files again.
    void showsTheSettingsAndReloadsThemOnALaterShowing()
    {
        SettingForm &f = *m_form;
        // The first start's value, not the one the controls were made with.
        QCOMPARE(combo(f, "input-encoding")->currentText(), u"raw"_s);
        // Only reading an identifier enables the field, not choosing its item.
        combo(f, "doctype")->setCurrentIndex(kDoctypeUserFpiIndex);
        QVERIFY(!f.fpiEdit->isEnabled());

        m->home.write("Velmarin.txt", "doctype:\"-//W3C//DTD HTML 4.01//EN\"\r\n");
        IniFile(ProgramFolder::keyIniPath()).writeString("Key", "Tidy", "Ctrl+F9");
        bool fpiAtFirstShowing = true;
        QString fpiLater, keyLater;
        showAndPress(f, f.BitBtn2, [&] { fpiAtFirstShowing = f.fpiEdit->isEnabled(); });
        QVERIFY(!fpiAtFirstShowing && m->target.calls.isEmpty());
        showAndPress(f, f.BitBtn2, [&] {
            fpiLater = f.fpiEdit->isEnabled() ? f.fpiEdit->text() : u"(disabled)"_s;
            keyLater = f.lvKey->topLevelItem(0)->text(1);
        });
        QCOMPARE(fpiLater, u"\"-//W3C//DTD HTML 4.01//EN\""_s);
        QCOMPARE(keyLater, u"Ctrl+F9"_s);
        // The actions take the keys of key.ini again, the menus do not.
        QCOMPARE(m->target.calls.size(), 1);
        QVERIFY(!m->target.calls.last().second);
        QCOMPARE(m->target.calls.last().first.value(0), quint16(Shortcut::CtrlBit | 0x78));
    }

    void okSavesEveryPageAndCancelNothing()
    {
        SettingForm &f = *m_form;
        const auto files = [this] {
            return m->home.read("Velmarin.txt") + m->home.read("Velmarin.ini") +
                   m->home.read("key.ini");
        };
        const QByteArray before = files();
        const QString tidy = m->settings.tidyPath;
        QCOMPARE(showAndPress(f, f.BitBtn2,
                              [&] {
                                  box(f, "bare")->setChecked(true);
                                  f.chkIEMnu->setChecked(true);
                                  f.TidyPathEdit->setText(m->home.file("typo"));
                                  f.UploadPanel->Medium->setCurrentText("print");
                              }),
                 int(QDialog::Rejected));
        QCOMPARE(files(), before);
        QVERIFY(!m->settings.tidy.isTicked("bare") && !m->settings.openInBrowser &&
                m->settings.upload.cssMedium == u"all"_s);
        // The Tidy path in use is the saved one again, and so is the commands' state.
        QCOMPARE(m->settings.tidyPath, tidy);
        QVERIFY(m->tidyCommandsAre(true));

        bool dropped = false;
        const int result = showAndPress(f, f.BitBtn1, [&] {
            dropped = !box(f, "bare")->isChecked() && !f.chkIEMnu->isChecked() &&
                      f.TidyPathEdit->text() == tidy;
            box(f, "output-xhtml")->setChecked(true);
            combo(f, "char-encoding")->setCurrentText("shiftjis");
            f.chkSubDir->setChecked(true);
            f.chkTidyJa->setChecked(false);
            f.UploadPanel->M_Type->setCurrentText("HTML 4.01 Frameset");
            f.UploadPanel->w3m->setChecked(true);
        });
        QVERIFY(dropped);
        QCOMPARE(result, int(QDialog::Accepted));
        const QByteArray tidyFile = m->home.read("Velmarin.txt");
        QVERIFY(tidyFile.contains("\noutput-xhtml:true\r") &&
                tidyFile.contains("\nchar-encoding:shiftjis\r"));
        IniFile ini(ProgramFolder::iniPath());
        QCOMPARE(ini.readString("Other", "SubDir", ""), u"1"_s);
        QCOMPARE(ini.readString("Tidy", "Japanese", ""), u"0"_s);
        QCOMPARE(ini.readInt("Lint", "TextBrowser", -1), 2);
        QCOMPARE(ini.readString("Markup", "Type", ""), u"HTML 4.01 Frameset"_s);
        QVERIFY(m->settings.includeSubfolders && m->view.errors.isEmpty());
    }

    void numberFieldsTakeDigitsAndClampWhenLeft()
    {
        SettingForm &f = *m_form;
        f.show();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        QLineEdit *wrap = edit(f, "wrap");
        f.PageControl1->setCurrentIndex(1);
        wrap->setFocus();
        QTRY_VERIFY(wrap->hasFocus());
        wrap->selectAll();
        QTest::keyClicks(wrap, "5x0.0-0,0");
        QCOMPARE(wrap->text(), u"50000"_s);
        edit(f, "tab-size")->setFocus();
        QCOMPARE(wrap->text(), u"1000"_s);
        QTRY_VERIFY(wrap->hasFocus());  // back where the value was changed
        f.hide();
    }

    void theTidyPathFieldAndTheBrowseButtons()
    {
        TestSettingForm f(m->settings, m->store, &m->target);
        const QString tidy = m->settings.tidyPath;
        QTest::keyClicks(f.TidyPathEdit, "x");
        QVERIFY(m->tidyCommandsAre(false));
        QTest::keyClick(f.TidyPathEdit, Qt::Key_Backspace);
        QVERIFY(m->tidyCommandsAre(true));

        // A browse fills the field, then the rule for after a browse (here a
        // broken editor) applies; a cancelled browse keeps the field.
        f.TidyPathEdit->clear();
        f.EditorPathEdit->setText(m->home.file("no-editor"));
        f.answer = tidy;
        f.TidyPathButton->click();
        QCOMPARE(f.TidyPathEdit->text(), tidy);
        QVERIFY(m->tidyCommandsAre(false));
        f.EditorPathButton->click();
        f.answer.clear();
        f.TidyPathButton->click();
        QVERIFY(f.EditorPathEdit->text() == tidy && f.TidyPathEdit->text() == tidy);

        // Esc before any showing is a Cancel: the Tidy path in use is the one shown.
        f.TidyPathEdit->setText(m->home.file("typo"));
        QTest::keyClick(&f, Qt::Key_Escape);
        QCOMPARE(m->settings.tidyPath, tidy);
        QVERIFY(m->tidyCommandsAre(true));
    }

    // Which options Tidy 5 lacks is the capabilities test's; here, how they look.
    void optionsTheTidyIgnoresAreGreyed()
    {
        SettingForm &f = *m_form;
        QWidget *dropFont = f.optionControl("drop-font-tags");
        const auto textColour = [&f](const char *name) {
            return f.optionControl(name)->palette().color(QPalette::Active, QPalette::WindowText);
        };
        const QString unknown = TidyOptionControls::unknownHint();
        QVERIFY(f.isMarkedUnknown("drop-font-tags") && !f.isMarkedUnknown("wrap"));
        QVERIFY(dropFont->toolTip().contains(unknown) && dropFont->statusTip().contains(unknown));
        QVERIFY(textColour("drop-font-tags") != textColour("bare"));
        // A Tidy that cannot be asked marks nothing; the marks come back with a real one.
        const QString tidy = m->settings.tidyPath;
        f.TidyPathEdit->setText(m->home.file("elsewhere"));
        f.refreshTidyCapabilities();
        QCOMPARE(dropFont->toolTip(), u"Font,Centerの破棄"_s);
        QCOMPARE(textColour("drop-font-tags"), textColour("bare"));
        f.TidyPathEdit->setText(tidy);
        f.refreshTidyCapabilities();
        QVERIFY(f.isMarkedUnknown("drop-font-tags"));
    }

    // Which keys are taken is the shortcut tests'; here, the presses the edit handles itself.
    void theCaptureDialog()
    {
        SettingSCForm capture;
        QTest::keyClick(capture.HotKey1, Qt::Key_C, Qt::ControlModifier);  // not the edit's copy
        QCOMPARE(capture.shortcut(), quint16(Shortcut::CtrlBit | 'C'));
        // Holding a modifier shows it; letting go without a key keeps the value.
        QTest::keyPress(capture.HotKey1, Qt::Key_Control, Qt::ControlModifier);
        QCOMPARE(capture.HotKey1->text(), u"Ctrl+"_s);
        QTest::keyRelease(capture.HotKey1, Qt::Key_Control, Qt::NoModifier);
        QCOMPARE(capture.HotKey1->text(), u"Ctrl+C"_s);
        // Esc alone is the dialog's, not a key to capture.
        QTest::keyClick(capture.HotKey1, Qt::Key_Escape);
        QCOMPARE(capture.shortcut(), quint16(Shortcut::CtrlBit | 'C'));

        capture.setShortcut(Shortcut::AltBit | 0x74);
        capture.show();
        QVERIFY(QTest::qWaitForWindowExposed(&capture));
        QVERIFY(capture.CancelButton->geometry().bottom() < capture.height());
        for (QLabel *label : capture.findChildren<QLabel *>())
            QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->text()));
        QVERIFY(saveScreenshot(&capture, u"settings-shortcut-key.png"_s));
    }

    // A double-clicked row and the default keys take effect at once, unsaved.
    void keysChangeAtOnce()
    {
        SettingForm &f = *m_form;
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        f.PageControl1->setCurrentIndex(3);
        QTreeWidgetItem *ie = f.lvKey->topLevelItem(4);
        f.lvKey->setCurrentItem(ie);
        const QPoint at = f.lvKey->visualItemRect(ie).center();
        const auto doubleClick = [&](Qt::Key key, QPushButton *SettingSCForm::*close) {
            QString shown;
            onNextModal<SettingSCForm>(this, [&shown, key, close](SettingSCForm *capture) {
                shown = capture->HotKey1->text();
                QTest::keyClick(capture->HotKey1, key);
                (capture->*close)->click();
            });
            // What a user's double-click delivers: a click, then the double-click.
            QTest::mouseClick(f.lvKey->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(f.lvKey->viewport(), Qt::LeftButton, {}, at);
            return shown;
        };
        QCOMPARE(doubleClick(Qt::Key_F5, &SettingSCForm::OKButton), u"F5"_s);
        QCOMPARE(ie->text(1), u"Alt+F5"_s);
        QCOMPARE(m->settings.keys.value(4), quint16(Shortcut::AltBit | 0x74));
        QCOMPARE(m->target.calls, (QList{qMakePair(m->settings.keys, true)}));
        QCOMPARE(doubleClick(Qt::Key_F7, &SettingSCForm::CancelButton), u"Alt+F5"_s);
        QCOMPARE(ie->text(1), u"Alt+F5"_s);
        QCOMPARE(m->target.calls.size(), 1);

        QString message;
        onNextModal<QMessageBox>(this, [&](QMessageBox *box) {
            message = box->text();
            box->close();
        });
        f.btnDefaultKey->click();
        QCOMPARE(message, u"ショートカットキーを初期値に戻しました。"_s);
        QCOMPARE(f.lvKey->topLevelItem(4)->text(1), u"F5"_s);  // the list is made again
        QCOMPARE(m->target.calls.size(), 2);
        QCOMPARE(m->target.calls.last(), qMakePair(m->settings.keys, true));
        f.hide();
        QVERIFY(!m->home.read("key.ini").contains("Alt+F5"));
    }

    // The entries change at once, and a new showing reads the buttons' states
    // from what is installed.
    void menuButtonsChangeTheirEntriesAtOnce()
    {
        SettingForm &f = *m_form;
        const QString entry = m->home.file(u"data/applications/velmarin.desktop"_s);
        QVERIFY(f.btnAddDesktop->isEnabled() && !f.btnRemoveDesktop->isEnabled());
        f.btnAddDesktop->click();
        QVERIFY(QFile::exists(entry) && !f.btnAddDesktop->isEnabled());
        showAndPress(f, f.BitBtn2);
        QVERIFY(!f.btnAddDesktop->isEnabled() && f.btnRemoveDesktop->isEnabled());
        f.btnRemoveDesktop->click();
        QVERIFY(!QFile::exists(entry) && f.btnAddDesktop->isEnabled());
        f.btnAddIE->click();
        QVERIFY(QFile::exists(m->home.file(u"VelmarinExe.html"_s)) && f.btnRemoveIE->isEnabled());
    }

    void hintsReachTheMainWindowsStatusBar()
    {
        QMainWindow main;
        main.statusBar();
        SettingForm f(m->settings, m->store, &m->target, &main);
        QWidget *bare = f.optionControl("bare");
        QStatusTipEvent tip(bare->statusTip());
        QApplication::sendEvent(bare, &tip);
        QVERIFY(!bare->statusTip().isEmpty());
        QCOMPARE(main.statusBar()->currentMessage(), bare->statusTip());
    }

    // Every visible control fits inside its page, with its caption whole.
    void screenshotOfEveryPage()
    {
        SettingForm &f = *m_form;
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        const QStringList names{u"html-xml"_s, u"other"_s, u"upload"_s, u"velmarin"_s};
        for (int page = 0; page < names.size(); ++page) {
            f.PageControl1->setCurrentIndex(page);
            QTest::qWait(30);
            QWidget *pageWidget = f.PageControl1->widget(page);
            for (QWidget *w : pageWidget->findChildren<QWidget *>()) {
                if (!w->isVisible()) continue;
                const QRect inPage(w->mapTo(pageWidget, QPoint(0, 0)), w->size());
                const QString what = w->objectName() + u" on "_s + names.at(page);
                QVERIFY2(pageWidget->rect().contains(inPage), qPrintable(what));
                // Push buttons keep the classic 75 pixels, below the style's wish.
                if (auto *push = qobject_cast<QPushButton *>(w))
                    QVERIFY2(
                        push->fontMetrics().horizontalAdvance(push->text()) + 8 <= push->width(),
                        qPrintable(what));
                else if (qobject_cast<QCheckBox *>(w) || qobject_cast<QRadioButton *>(w) ||
                         qobject_cast<QLabel *>(w))
                    QVERIFY2(w->width() >= w->sizeHint().width(), qPrintable(what));
            }
            QVERIFY(saveScreenshot(&f, u"settings-"_s + names.at(page) + u".png"_s));
        }
        f.hide();
    }

private:
    std::unique_ptr<Loaded> m;
    std::unique_ptr<SettingForm> m_form;
};

QTEST_MAIN(SettingsFormTest)
#include "settings_form_test.moc"
