// The settings dialog and the shortcut capture dialog, offscreen.
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
    QStringList filters;

protected:
    QString chooseFile(const QString &, const QString &filter, const QString &) override
    {
        filters << filter;
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

// What a user's double-click delivers: a click, then the double-click.
void doubleClick(QAbstractItemView *view, const QPoint &at)
{
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
}

QStringList configLines(const TempHome &home)
{
    return TextCodec::splitLines(TextCodec::decode(home.read("Velmarin.txt")));
}

QString keyIniEntry(const char *key)
{
    return IniFile(ProgramFolder::keyIniPath()).readString("Key", key, "(none)");
}

constexpr quint16 kAlt = Shortcut::AltBit;
constexpr quint16 kCtrl = Shortcut::CtrlBit;

}  // namespace

class SettingsFormTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_home = std::make_unique<TempHome>();
        // The desktop entry goes below the temporary folder too.
        m_env = std::make_unique<EnvGuard>();
        m_env->set("XDG_DATA_HOME", QFile::encodeName(m_home->file(u"data"_s)));
        m_settings = std::make_unique<AppSettings>();
        m_view = std::make_unique<RecordingView>();
        m_store = std::make_unique<SettingsStore>(*m_settings, *m_view);
        m_store->load();
        m_target = std::make_unique<RecordingTarget>();
    }
    void cleanup()
    {
        m_form.reset();
        m_store.reset();
        m_env.reset();
        m_home.reset();
    }

    void controlsAndWhatTheDialogStartsWith()
    {
        SettingForm &f = form();
        QCOMPARE(f.minimumSize(), f.maximumSize());
        QVERIFY(f.BitBtn1->isDefault());
        // No registry and no Opera menu file: only "add" is offered.
        QVERIFY(f.btnAddIE->isEnabled() && f.btnAddOP->isEnabled() && f.btnAddDesktop->isEnabled());
        QVERIFY(!f.btnRemoveIE->isEnabled() && !f.btnRemoveOP->isEnabled() &&
                !f.btnRemoveDesktop->isEnabled());
        QCOMPARE(f.lvKey->topLevelItemCount(), ShortcutRowCount);

        // Every option of the catalogue has its control on its page.
        for (const TidyOption &option : tidyOptionCatalogue()) {
            QWidget *control = f.findChild<QWidget *>(option.control);
            QVERIFY2(control && f.optionControl(option.name) == control, qPrintable(option.name));
            const int page = option.group == OptionGroup::HtmlXml ? 0 : 1;
            QVERIFY2(f.PageControl1->widget(page)->isAncestorOf(control), qPrintable(option.name));
            // Options the installed Tidy ignores say so after their hint.
            QVERIFY(control->statusTip().startsWith(option.hint));
            QCOMPARE(control->isHidden(), option.hidden);
            QVERIFY(!option.hidden || control->focusPolicy() == Qt::NoFocus);
        }
        QVERIFY(!f.fpiEdit->isEnabled());
        // input-encoding shows what the first start set, not the creation value.
        QCOMPARE(combo(f, "input-encoding")->currentText(), u"raw"_s);
    }

    void numberFieldsTakeDigitsAndClampWhenLeft()
    {
        SettingForm &f = form();
        f.show();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        QLineEdit *wrap = edit(f, "wrap");
        QLineEdit *tab = edit(f, "tab-size");
        f.PageControl1->setCurrentIndex(1);
        wrap->setFocus();
        QTRY_VERIFY(wrap->hasFocus());
        wrap->selectAll();
        QTest::keyClicks(wrap, "5x0.0-0,0");
        QCOMPARE(wrap->text(), u"50000"_s);
        tab->setFocus();
        QCOMPARE(wrap->text(), u"1000"_s);
        QTRY_VERIFY(wrap->hasFocus());
        f.hide();
    }

    void fpiEditIsEnabledOnlyByReadingAnIdentifier()
    {
        m_home->write("Velmarin.txt", "doctype:\"-//W3C//DTD HTML 4.01//EN\"\r\nwrap:5000\r\n");
        m_store->load();
        SettingForm &f = form();
        QComboBox *doctype = combo(f, "doctype");
        QCOMPARE(doctype->currentIndex(), kDoctypeUserFpiIndex);
        QVERIFY(f.fpiEdit->isEnabled());
        QCOMPARE(f.fpiEdit->text(), u"\"-//W3C//DTD HTML 4.01//EN\""_s);

        // A later showing reads the file again: a keyword disables the field,
        // and choosing the sixth item by hand does not enable it.
        m_home->write("Velmarin.txt", "doctype:strict\r\n");
        bool atFirstShowing = false, afterReading = true, afterChoosing = true;
        showAndPress(f, f.BitBtn2, [&] { atFirstShowing = f.fpiEdit->isEnabled(); });
        QVERIFY(atFirstShowing);  // the first showing loads nothing
        showAndPress(f, f.BitBtn1, [&] {
            afterReading = f.fpiEdit->isEnabled();
            doctype->setCurrentIndex(kDoctypeUserFpiIndex);
            afterChoosing = f.fpiEdit->isEnabled();
        });
        QVERIFY(!afterReading && !afterChoosing);
        QVERIFY(configLines(*m_home).contains(u"doctype:\"-//W3C//DTD HTML 4.01//EN\""_s));
    }

    void okWritesTheSettingsFiles()
    {
        SettingForm &f = form();
        const int result = showAndPress(f, f.BitBtn1, [&] {
            box(f, "output-xhtml")->setChecked(true);
            edit(f, "wrap")->setText("80");
            combo(f, "char-encoding")->setCurrentText("shiftjis");
            f.chkSubDir->setChecked(true);
            f.chkTidyJa->setChecked(false);
            f.UploadPanel->M_Type->setCurrentText("HTML 4.01 Frameset");
            f.UploadPanel->w3m->setChecked(true);
        });
        QCOMPARE(result, int(QDialog::Accepted));
        const QStringList lines = configLines(*m_home);
        for (const QString line : {"output-xhtml:true", "wrap:80", "char-encoding:shiftjis"})
            QVERIFY2(lines.contains(line), qPrintable(line));
        IniFile ini(ProgramFolder::iniPath());
        QCOMPARE(ini.readString("Other", "SubDir", ""), u"1"_s);
        QCOMPARE(ini.readString("Tidy", "Japanese", ""), u"0"_s);
        QCOMPARE(ini.readString("Markup", "Type", ""), u"HTML 4.01 Frameset"_s);
        QCOMPARE(ini.readInt("Lint", "TextBrowser", -1), 2);
        QVERIFY(m_settings->includeSubfolders && !m_settings->tidyJapanese &&
                m_settings->tidy.isTicked("output-xhtml"));
        QVERIFY(m_view->errors.isEmpty());
    }

    void cancelWritesNothingAndTheNextShowingDropsTheEdits()
    {
        SettingForm &f = form();
        const auto files = [this] {
            return m_home->read("Velmarin.txt") + m_home->read("Velmarin.ini") +
                   m_home->read("key.ini");
        };
        const QByteArray before = files();
        const QString tidy = m_settings->tidyPath;
        const int result = showAndPress(f, f.BitBtn2, [&] {
            box(f, "bare")->setChecked(true);
            f.chkIEMnu->setChecked(true);
            f.TidyPathEdit->setText(m_home->file("typo"));
            f.UploadPanel->Medium->setCurrentText("print");
        });
        QCOMPARE(result, int(QDialog::Rejected));
        QCOMPARE(files(), before);
        QVERIFY(!m_settings->tidy.isTicked("bare") && !m_settings->openInBrowser);
        QCOMPARE(m_settings->upload.cssMedium, u"all"_s);
        // The Tidy path in use is the saved one again, and so is the commands' state.
        QCOMPARE(m_settings->tidyPath, tidy);
        QVERIFY(tidyCommandsAre(true));

        QString shown;
        showAndPress(f, f.BitBtn2, [&] {
            shown = QStringList{box(f, "bare")->isChecked() ? "bare" : "-",
                                f.chkIEMnu->isChecked() ? "ie" : "-", f.TidyPathEdit->text(),
                                f.UploadPanel->Medium->currentText()}
                        .join(u'|');
        });
        QCOMPARE(shown, u"-|-|"_s + tidy + u"|all"_s);
    }

    void theTidyPathFieldSwitchesTheTidyCommandsAtOnce()
    {
        TestSettingForm f(*m_settings, *m_store, m_target.get());
        const QString tidy = m_settings->tidyPath;
        QTest::keyClicks(f.TidyPathEdit, "x");
        QVERIFY(tidyCommandsAre(false));
        QTest::keyClick(f.TidyPathEdit, Qt::Key_Backspace);
        QVERIFY(tidyCommandsAre(true));

        // Browsing fills the field, then the rule for after a browse applies.
        f.TidyPathEdit->clear();
        f.answer = tidy;
        f.TidyPathButton->click();
        QCOMPARE(f.TidyPathEdit->text(), tidy);
        QVERIFY(f.filters.last().contains(u"tidy"_s));
        QVERIFY(tidyCommandsAre(true));
        f.EditorPathEdit->setText(m_home->file("no-editor"));
        f.answer.clear();  // a cancelled browse keeps the field
        f.TidyPathButton->click();
        QCOMPARE(f.TidyPathEdit->text(), tidy);
        QVERIFY(tidyCommandsAre(false));
        // The editor's browse button fills its field.
        f.answer = tidy;
        f.EditorPathButton->click();
        QCOMPARE(f.EditorPathEdit->text(), tidy);

        // Closing with Esc is a Cancel: the Tidy path in use is the one the dialog showed.
        f.TidyPathEdit->setText(m_home->file("typo"));
        QTest::keyClick(&f, Qt::Key_Escape);
        QCOMPARE(m_settings->tidyPath, tidy);
        QVERIFY(tidyCommandsAre(true));
    }

    void optionsTheTidyIgnoresAreGreyed()
    {
        SettingForm &f = form();
        // Which options Tidy 5 lacks is the capabilities test's; here, how they look.
        QVERIFY(f.isMarkedUnknown("drop-font-tags") && !f.isMarkedUnknown("wrap"));
        QVERIFY(!f.isMarkedUnknown("fix-bad-comments"));
        QWidget *dropFont = f.optionControl("drop-font-tags");
        const auto textColour = [&f](const char *name) {
            return f.optionControl(name)->palette().color(QPalette::Active, QPalette::WindowText);
        };
        const QString unknown = TidyOptionControls::unknownHint();
        QVERIFY(dropFont->isEnabled() && dropFont->toolTip().contains(unknown));
        QVERIFY(dropFont->statusTip().contains(unknown));
        QVERIFY(textColour("drop-font-tags") != textColour("bare"));

        // A Tidy that cannot be asked marks nothing; the marks come back with a real one.
        const QString tidy = m_settings->tidyPath;
        f.TidyPathEdit->setText(m_home->file("elsewhere"));
        f.refreshTidyCapabilities();
        QVERIFY(!f.isMarkedUnknown("drop-font-tags"));
        QCOMPARE(dropFont->toolTip(), u"Font,Centerの破棄"_s);
        QCOMPARE(textColour("drop-font-tags"), textColour("bare"));
        f.TidyPathEdit->setText(tidy);
        f.refreshTidyCapabilities();
        QVERIFY(f.isMarkedUnknown("hide-endtags"));
        // The file format does not change: ignored options are still written.
        QVERIFY(configLines(*m_home).contains(u"hide-endtags:false"_s));
    }

    void theCaptureDialogAppliesTheCaptureRule()
    {
        SettingSCForm capture;
        QTest::keyClick(capture.HotKey1, Qt::Key_C, Qt::ControlModifier);  // not the edit's copy
        QCOMPARE(capture.shortcut(), quint16(kCtrl | 'C'));
        // Holding a modifier shows it; letting go without a key keeps the value.
        QTest::keyPress(capture.HotKey1, Qt::Key_Control, Qt::ControlModifier);
        QCOMPARE(capture.HotKey1->text(), u"Ctrl+"_s);
        QTest::keyRelease(capture.HotKey1, Qt::Key_Control, Qt::NoModifier);
        QCOMPARE(capture.HotKey1->text(), u"Ctrl+C"_s);
        // Esc alone is the dialog's, not a key to capture.
        QTest::keyClick(capture.HotKey1, Qt::Key_Escape);
        QCOMPARE(capture.shortcut(), quint16(kCtrl | 'C'));

        capture.setShortcut(kAlt | 0x74);
        capture.show();
        QVERIFY(QTest::qWaitForWindowExposed(&capture));
        QVERIFY(capture.HotKey1->isVisible());
        QVERIFY(capture.CancelButton->geometry().bottom() < capture.height());
        for (QLabel *label : capture.findChildren<QLabel *>())
            QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->text()));
        QVERIFY(saveScreenshot(&capture, u"settings-shortcut-key.png"_s));
    }

    void doubleClickingARowChangesTheKeyAtOnce()
    {
        SettingForm &f = form();
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        f.PageControl1->setCurrentIndex(3);
        QTreeWidgetItem *ie = f.lvKey->topLevelItem(4);
        f.lvKey->setCurrentItem(ie);

        QString shown;
        onNextModal<SettingSCForm>(this, [&](SettingSCForm *capture) {
            shown = capture->HotKey1->text();
            QTest::keyClick(capture->HotKey1, Qt::Key_F5);
            capture->OKButton->click();
        });
        const QRect rect = f.lvKey->visualItemRect(ie);
        doubleClick(f.lvKey, rect.center());
        QCOMPARE(shown, u"F5"_s);
        QCOMPARE(ie->text(1), u"Alt+F5"_s);
        QCOMPARE(m_settings->keys.value(4), quint16(kAlt | 0x74));
        QCOMPARE(m_target->calls.size(), 1);
        QCOMPARE(m_target->calls.last(), qMakePair(m_settings->keys, true));
        // Not written before the settings are saved.
        QCOMPARE(keyIniEntry("IE"), u"F5"_s);

        // Cancel in the capture dialog changes nothing.
        onNextModal<SettingSCForm>(this, [](SettingSCForm *capture) {
            QTest::keyClick(capture->HotKey1, Qt::Key_F7, Qt::ControlModifier);
            capture->CancelButton->click();
        });
        doubleClick(f.lvKey, rect.center());
        QCOMPARE(ie->text(1), u"Alt+F5"_s);
        QCOMPARE(m_target->calls.size(), 1);
        f.hide();
    }

    void restoringTheDefaultKeysAndReloadingKeyIni()
    {
        SettingForm &f = form();
        showAndPress(f, f.BitBtn2);
        QVERIFY(m_target->calls.isEmpty());  // the first showing loads nothing

        m_settings->keys.setValue(0, 0);
        QString message;
        onNextModal<QMessageBox>(this, [&](QMessageBox *box) {
            message = box->text();
            box->close();
        });
        f.btnDefaultKey->click();
        QCOMPARE(message, u"ショートカットキーを初期値に戻しました。"_s);
        QCOMPARE(f.lvKey->topLevelItem(9)->text(1), u"Ctrl+G"_s);
        QCOMPARE(m_target->calls.size(), 1);
        QCOMPARE(m_target->calls.last(), qMakePair(m_settings->keys, true));
        // key.ini still holds the keys of the last save.
        QCOMPARE(keyIniEntry("Gray"), QString());

        // A later showing reloads key.ini for the actions only, not the menus.
        IniFile(ProgramFolder::keyIniPath()).writeString("Key", "Tidy", "Ctrl+F9");
        QString shown;
        showAndPress(f, f.BitBtn2, [&] { shown = f.lvKey->topLevelItem(0)->text(1); });
        QCOMPARE(shown, u"Ctrl+F9"_s);
        QCOMPARE(m_target->calls.size(), 2);
        QVERIFY(!m_target->calls.last().second);
        QCOMPARE(m_target->calls.last().first.value(0), quint16(kCtrl | 0x78));
    }

    void menuButtonsChangeTheirEntriesAtOnce()
    {
        SettingForm &f = form();
        const QString entry = m_home->file(u"data/applications/velmarin.desktop"_s);
        f.btnAddIE->click();
        f.btnAddDesktop->click();
        QVERIFY(!f.btnAddIE->isEnabled() && f.btnRemoveIE->isEnabled());
        QVERIFY(!f.btnAddDesktop->isEnabled() && f.btnRemoveDesktop->isEnabled());
        QVERIFY(QFile::exists(m_home->file(u"VelmarinExe.html"_s)) && QFile::exists(entry));
        // A new showing reads the states from what is installed.
        showAndPress(f, f.BitBtn2);
        QVERIFY(f.btnRemoveIE->isEnabled() && f.btnRemoveDesktop->isEnabled());
        f.btnRemoveIE->click();
        f.btnRemoveDesktop->click();
        QVERIFY(f.btnAddIE->isEnabled() && !f.btnRemoveIE->isEnabled());
        QVERIFY(f.btnAddDesktop->isEnabled() && !QFile::exists(entry));
    }

    void hintsReachTheMainWindowsStatusBar()
    {
        QMainWindow main;
        main.statusBar();
        SettingForm f(*m_settings, *m_store, m_target.get(), &main);
        QWidget *bare = f.optionControl("bare");
        QStatusTipEvent tip(bare->statusTip());
        QApplication::sendEvent(bare, &tip);
        QVERIFY(!bare->statusTip().isEmpty());
        QCOMPARE(main.statusBar()->currentMessage(), bare->statusTip());
    }

    void screenshotOfEveryPage()
    {
        SettingForm &f = form();
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        const QStringList names{u"html-xml"_s, u"other"_s, u"upload"_s, u"velmarin"_s};
        for (int page = 0; page < names.size(); ++page) {
            f.PageControl1->setCurrentIndex(page);
            QTest::qWait(30);
            // Every visible control fits inside the page.
            QWidget *pageWidget = f.PageControl1->widget(page);
            for (QWidget *w : pageWidget->findChildren<QWidget *>()) {
                if (!w->isVisible() || w->parentWidget() == nullptr) continue;
                const QRect inPage(w->mapTo(pageWidget, QPoint(0, 0)), w->size());
                const QString what = w->objectName() + u" on "_s + names.at(page);
                QVERIFY2(pageWidget->rect().contains(inPage), qPrintable(what));
                // Captions are not cut off. Push buttons keep the classic
                // 75-pixel width, below the style's wish but wide enough.
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
    // Both the Tidy menu entries and toolbar buttons are in the state `on`.
    bool tidyCommandsAre(bool on) const
    {
        return m_view->enabled.value(Control::TidyMenuItems, !on) == on &&
               m_view->enabled.value(Control::TidyToolButtons, !on) == on;
    }
    SettingForm &form()
    {
        m_form = std::make_unique<SettingForm>(*m_settings, *m_store, m_target.get());
        return *m_form;
    }
    static QCheckBox *box(SettingForm &f, const char *option)
    {
        return qobject_cast<QCheckBox *>(f.optionControl(option));
    }
    static QLineEdit *edit(SettingForm &f, const char *option)
    {
        return qobject_cast<QLineEdit *>(f.optionControl(option));
    }
    static QComboBox *combo(SettingForm &f, const char *option)
    {
        return qobject_cast<QComboBox *>(f.optionControl(option));
    }

    std::unique_ptr<TempHome> m_home;
    std::unique_ptr<EnvGuard> m_env;
    std::unique_ptr<AppSettings> m_settings;
    std::unique_ptr<RecordingView> m_view;
    std::unique_ptr<SettingsStore> m_store;
    std::unique_ptr<RecordingTarget> m_target;
    std::unique_ptr<SettingForm> m_form;
};

QTEST_MAIN(SettingsFormTest)
#include "settings_form_test.moc"
