// The settings dialog and the shortcut capture dialog, offscreen: the wiring
// to the settings store; the rules behind it are the core tests'.
#include "tidy/settings_form.h"

#include <QRadioButton>
#include <QTreeWidget>

#include "core/app_settings.h"
#include "core/settings_store.h"
#include "integration/hot_key_widget.h"
#include "integration/setting_sc_form.h"
#include "integration/shortcut.h"
#include "integration/shortcut_target.h"
#include "support/gui.h"
#include "support/recording_view.h"
#include "tidy/option_catalogue.h"
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
QComboBox *combo(SettingForm &f, const char *option)
{
    return qobject_cast<QComboBox *>(f.optionControl(option));
}

// The settings as start-up loads them, in a folder of their own.
struct Loaded {
    TempHome home;
    AppSettings settings;
    RecordingView view;
    SettingsStore store{settings, view};
    RecordingTarget target;
    Loaded() { store.load(); }
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
        // A typed path counts at once; Esc before any showing is a Cancel all the same.
        f.TidyPathEdit->setText(m->home.file("typo"));
        QVERIFY(!m->view.enabled.value(Control::TidyMenuItems, true));
        QTest::keyClick(&f, Qt::Key_Escape);
        QVERIFY(m->settings.tidyPath == tidy && m->view.enabled.value(Control::TidyMenuItems));
        QCOMPARE(showAndPress(f, f.BitBtn2,
                              [&] {
                                  box(f, "bare")->setChecked(true);
                                  f.chkIEMnu->setChecked(true);
                                  f.UploadPanel->Medium->setCurrentText("print");
                              }),
                 int(QDialog::Rejected));
        QCOMPARE(files(), before);
        QVERIFY(!m->settings.tidy.isTicked("bare") && !m->settings.openInBrowser &&
                m->settings.upload.cssMedium == u"all"_s);

        bool dropped = false;
        const int result = showAndPress(f, f.BitBtn1, [&] {
            dropped = !box(f, "bare")->isChecked() && !f.chkIEMnu->isChecked();
            box(f, "output-xhtml")->setChecked(true);
            combo(f, "char-encoding")->setCurrentText("shiftjis");
            f.chkSubDir->setChecked(true);
            f.chkTidyJa->setChecked(false);
            f.UploadPanel->M_Type->setCurrentText("HTML 4.01 Frameset");
            f.UploadPanel->w3m->setChecked(true);
        });
        QVERIFY(dropped && result == QDialog::Accepted);
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
        QVERIFY(saveScreenshot(&capture, u"settings-shortcut-key.png"_s));
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
