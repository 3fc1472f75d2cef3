// The settings dialog and the shortcut capture dialog, offscreen: captions,
// the controls made from the option catalogue, what OK and Cancel write, the
// Tidy path rule, shortcut keys, and a screenshot of every page.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include <functional>

#include "app/app_settings.h"
#include "app/settings_store.h"
#include "app/upload_page_gui.h"
#include "integration/hot_key_widget.h"
#include "integration/setting_sc_form.h"
#include "integration/shortcut.h"
#include "integration/shortcut_target.h"
#include "platform/ini_file.h"
#include "platform/program_folder.h"
#include "platform/text_codec.h"
#include "support/recording_view.h"
#include "support/temp_home.h"
#include "tidy/option_catalogue.h"
#include "tidy/settings_form.h"
#include "tidy/tidy_option_controls_gui.h"

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

// Runs `whileOpen` once the modal dialog runs, then presses `close`; the
// button is pressed even when a check inside fails, so the test never hangs.
void whileModal(QPushButton *close, std::function<void()> whileOpen)
{
    QTimer::singleShot(0, close, [close, whileOpen] {
        whileOpen();
        close->click();
    });
}

QString screenshotDir()
{
    return qEnvironmentVariableIsSet("VELMARIN_UPDATE_DOCS") ? QStringLiteral(VELMARIN_DOCS_DIR)
                                                            : QDir::currentPath();
}

// What a user's double-click delivers: a click, then the double-click.
void doubleClick(QAbstractItemView *view, const QPoint &at)
{
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
}

QStringList configLines(const TempHome &home)
{
    return TextCodec::splitLines(TextCodec::decode(home.read(QStringLiteral("Velmarin.txt"))));
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
        m_home.reset();
    }

    void captionsPagesAndButtons()
    {
        SettingForm &f = form();
        QCOMPARE(f.windowTitle(), QStringLiteral("設定"));
        QCOMPARE(f.size(), QSize(593, 435));
        QCOMPARE(f.minimumSize(), f.maximumSize());
        QCOMPARE(f.font().pixelSize(), 12);
        QCOMPARE(f.font().families().first(), QStringLiteral("ＭＳ Ｐゴシック"));
        QVERIFY(f.font().families().contains(QStringLiteral("Noto Sans CJK JP")));
        QCOMPARE(f.PageControl1->count(), 4);
        const QStringList tabs{QStringLiteral("HTML,XML"), QStringLiteral("Other"),
                               QStringLiteral("UpLoad"), QStringLiteral("Velmarin")};
        for (int i = 0; i < tabs.size(); ++i)
            QCOMPARE(f.PageControl1->tabText(i), tabs.at(i));
        QCOMPARE(f.BitBtn1->text(), QStringLiteral("OK"));
        QCOMPARE(f.BitBtn2->text(), QStringLiteral("キャンセル"));
        QVERIFY(f.BitBtn1->isDefault());

        // Groups of the Other page, in tab order.
        QStringList groups;
        for (QGroupBox *box : f.PageControl1->widget(1)->findChildren<QGroupBox *>())
            groups << box->title();
        QCOMPARE(groups, (QStringList{QStringLiteral("Pretty Print Options"),
                                      QStringLiteral("Accessibility"),
                                      QStringLiteral("Diagnostics Options"),
                                      QStringLiteral("Encoding Options"),
                                      QStringLiteral("Miscellaneous Options")}));

        // Velmarin page.
        QCOMPARE(f.chkSubDir->text(), QStringLiteral("フォルダ一括はサブフォルダも含める"));
        QCOMPARE(f.chkIEMnu->text(), QStringLiteral("ブラウザで開く"));
        QCOMPARE(f.chkIEMnu->statusTip(), QStringLiteral("エラーや出力をブラウザで開きます。"));
        QCOMPARE(f.btnAddIE->text(), QStringLiteral("組み込む"));
        QCOMPARE(f.btnRemoveOP->text(), QStringLiteral("解除"));
        // No registry and no Opera menu file: only "add" is offered.
        QVERIFY(f.btnAddIE->isEnabled());
        QVERIFY(!f.btnRemoveIE->isEnabled());
        QVERIFY(f.btnAddOP->isEnabled());
        QVERIFY(!f.btnRemoveOP->isEnabled());
        QCOMPARE(f.btnDefaultKey->text(), QStringLiteral("キーを初期値に戻す"));
        QCOMPARE(f.TidyPathEdit->statusTip(), QStringLiteral("HTML Tidyの場所を指定してください"));
        QCOMPARE(f.TidyPathEdit->font().families().first(), QStringLiteral("ＭＳ ゴシック"));
        QVERIFY(f.EditorPathEdit->font().families().contains(QStringLiteral("Noto Sans Mono CJK JP")));
        QCOMPARE(f.TidyPathEdit->text(), m_settings->tidyPath);
        QVERIFY(f.findChild<QLabel *>() != nullptr);
        QStringList labels;
        for (QLabel *l : f.PageControl1->widget(3)->findChildren<QLabel *>())
            labels << l->text();
        QVERIFY(labels.contains(QStringLiteral("エディタの場所 :")));
        QVERIFY(labels.contains(QStringLiteral("Tidyの場所 :")));
        QVERIFY(labels.contains(QStringLiteral("設定後、すぐに反映されます。")));

        QCOMPARE(f.lvKey->topLevelItemCount(), 16);
        QCOMPARE(f.lvKey->headerItem()->text(0), QStringLiteral("動作"));
        QCOMPARE(f.lvKey->headerItem()->text(1), QStringLiteral("キー"));
        QCOMPARE(f.lvKey->topLevelItem(0)->text(0), QStringLiteral("Tidyの実行"));
        QCOMPARE(f.lvKey->topLevelItem(0)->text(1), QStringLiteral("F9"));
        QCOMPARE(f.lvKey->topLevelItem(9)->text(0), QStringLiteral("グレイスケール"));
        QCOMPARE(f.lvKey->topLevelItem(9)->text(1), QString());
        QCOMPARE(f.lvKey->topLevelItem(15)->text(1), QStringLiteral("Ctrl+U"));
    }

    void everyCatalogueOptionHasItsControl()
    {
        SettingForm &f = form();
        int visible = 0;
        for (const TidyOption &option : tidyOptionCatalogue()) {
            const QByteArray what = option.name.toUtf8();
            QWidget *control = f.findChild<QWidget *>(option.control);
            QVERIFY2(control != nullptr, what.constData());
            QCOMPARE(f.optionControl(option.name), control);
            const int page = option.group == OptionGroup::HtmlXml ? 0 : 1;
            QVERIFY2(f.PageControl1->widget(page)->isAncestorOf(control), what.constData());
            // Options the installed Tidy ignores say so after their hint.
            QVERIFY(control->statusTip().startsWith(option.hint));
            QVERIFY(control->toolTip().startsWith(shortHint(option)));
            if (option.hidden) {
                QVERIFY(control->isHidden());
                QCOMPARE(control->focusPolicy(), Qt::NoFocus);
                continue;
            }
            ++visible;
            QVERIFY2(!control->isHidden(), what.constData());
            QLabel *label = f.optionLabelWidget(option.name);
            switch (option.kind) {
            case OptionKind::Boolean:
                QCOMPARE(qobject_cast<QCheckBox *>(control)->text(), option.name);
                QVERIFY(label == nullptr);
                break;
            case OptionKind::Number: {
                auto *edit = qobject_cast<QLineEdit *>(control);
                QVERIFY(edit->alignment() & Qt::AlignRight);
                QVERIFY(edit->validator() != nullptr);
                QCOMPARE(label->text(), option.name + QStringLiteral(" :"));
                break;
            }
            case OptionKind::Choice:
            case OptionKind::Doctype: {
                auto *combo = qobject_cast<QComboBox *>(control);
                QVERIFY(!combo->isEditable());
                QCOMPARE(combo->count(), option.choices.size());
                QCOMPARE(label->text(), option.name + QStringLiteral(" :"));
                break;
            }
            case OptionKind::Text:
                QVERIFY(qobject_cast<QLineEdit *>(control) != nullptr);
                QCOMPARE(label->text(), option.name + QStringLiteral(" :"));
                break;
            }
        }
        QCOMPARE(visible, 71);
        // The two hints without a bar are tool tips as well.
        QCOMPARE(f.optionControl(QStringLiteral("quote-marks"))->toolTip(),
                 QStringLiteral("\"を\"&quot;\"として、'を\"&#39;\"として出力"));
        QCOMPARE(f.findChild<QWidget *>(QStringLiteral("add_xml_deci"))->statusTip(),
                 QStringLiteral("XML宣言を追加する"));
        QCOMPARE(f.fpiEdit->objectName(), QStringLiteral("fpiEdit"));
        QCOMPARE(f.fpiEdit->text(), QStringLiteral("Please input fpi."));
        QVERIFY(!f.fpiEdit->isEnabled());
        // input-encoding shows what the first start set, not the creation value.
        QCOMPARE(qobject_cast<QComboBox *>(f.optionControl(QStringLiteral("input-encoding")))
                     ->currentText(),
                 QStringLiteral("latin0"));
    }

    void uploadPageItemsAndInitialValues()
    {
        UploadPage *u = form().UploadPanel;
        QCOMPARE(u->M_Charset->count(), 36);
        QCOMPARE(u->M_Charset->maxVisibleItems(), 15);
        QCOMPARE(u->M_Charset->currentText(), QStringLiteral("(detect automatically)"));
        QCOMPARE(u->M_Type->itemText(10), QStringLiteral("HTML 2.0"));
        QCOMPARE(u->W_Charset->currentText(), QStringLiteral("Shift_JIS"));
        QCOMPARE(u->W_Charset->count(), 40);
        QCOMPARE(u->Profile->currentText(), QStringLiteral("CSS version 2"));
        QCOMPARE(u->Medium->itemText(10), QStringLiteral("presentation"));
        QVERIFY(u->Verbose_O->isChecked());
        QVERIFY(!u->Show_Source->isChecked());
        QVERIFY(u->Num_View->isChecked());
        QCOMPARE(u->NoAccess->text(), QStringLiteral("WAI Content Accessibility Guidelines に"));
        QVERIFY(u->None->isChecked());
        QCOMPARE(u->None->text(), QStringLiteral("なし"));
        QCOMPARE(u->w3m->objectName(), QStringLiteral("w3m"));
        auto *browsers = qobject_cast<QGroupBox *>(u->Lynx->parentWidget());
        QCOMPARE(browsers->title(), QStringLiteral("テキストベースブラウザでの見え方"));
        for (const char *name : {"M_Charset", "M_Type", "Show_Parse_Tree", "Ex_Attr", "Vali_Err",
                                 "All_Check", "NoReligious", "W_Warning", "W_Show_Input",
                                 "Warning", "Profile", "Medium"})
            QVERIFY2(u->findChild<QWidget *>(QString::fromLatin1(name)), name);
    }

    void numberFieldsTakeDigitsAndClampWhenLeft()
    {
        SettingForm &f = form();
        f.show();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        auto *wrap = qobject_cast<QLineEdit *>(f.optionControl(QStringLiteral("wrap")));
        auto *tab = qobject_cast<QLineEdit *>(f.optionControl(QStringLiteral("tab-size")));
        f.PageControl1->setCurrentIndex(1);
        wrap->setFocus();
        QTRY_VERIFY(wrap->hasFocus());
        wrap->selectAll();
        QTest::keyClicks(wrap, QStringLiteral("5x0.0-0,0"));
        QCOMPARE(wrap->text(), QStringLiteral("50000"));
        tab->setFocus();
        QCOMPARE(wrap->text(), QStringLiteral("1000"));
        QTRY_VERIFY(wrap->hasFocus());

        // In range: left alone, and the focus moves on.
        wrap->setText(QStringLiteral("72"));
        tab->setFocus();
        QTest::qWait(20);
        QCOMPARE(wrap->text(), QStringLiteral("72"));
        QVERIFY(tab->hasFocus());
        f.hide();
    }

    void fpiEditIsEnabledOnlyByReadingAnIdentifier()
    {
        m_home->write(QStringLiteral("Velmarin.txt"),
                      "doctype:\"-//W3C//DTD HTML 4.01//EN\"\r\nwrap:5000\r\n");
        m_store->load();
        SettingForm &f = form();
        auto *doctype = qobject_cast<QComboBox *>(f.optionControl(QStringLiteral("doctype")));
        QCOMPARE(doctype->currentIndex(), kDoctypeUserFpiIndex);
        QVERIFY(f.fpiEdit->isEnabled());
        QCOMPARE(f.fpiEdit->text(), QStringLiteral("\"-//W3C//DTD HTML 4.01//EN\""));
        QCOMPARE(qobject_cast<QLineEdit *>(f.optionControl(QStringLiteral("wrap")))->text(),
                 QStringLiteral("5000"));

        // A later showing reads the file again: a keyword disables the field,
        // and choosing the sixth item by hand does not enable it.
        m_home->write(QStringLiteral("Velmarin.txt"), "doctype:strict\r\n");
        bool enabledAtFirstShowing = false;
        whileModal(f.BitBtn2, [&] { enabledAtFirstShowing = f.fpiEdit->isEnabled(); });
        f.showSettings();  // the first showing loads nothing
        QVERIFY(enabledAtFirstShowing);
        bool enabledAfterReading = true;
        bool enabledAfterChoosing = true;
        whileModal(f.BitBtn1, [&] {
            enabledAfterReading = f.fpiEdit->isEnabled();
            doctype->setCurrentIndex(kDoctypeUserFpiIndex);
            enabledAfterChoosing = f.fpiEdit->isEnabled();
        });
        f.showSettings();
        QVERIFY(!enabledAfterReading);
        QVERIFY(!enabledAfterChoosing);
        QVERIFY(configLines(*m_home).contains(QStringLiteral("doctype:\"-//W3C//DTD HTML 4.01//EN\"")));
    }

    void okWritesTheSettingsFiles()
    {
        SettingForm &f = form();
        whileModal(f.BitBtn1, [&] {
            qobject_cast<QCheckBox *>(f.optionControl(QStringLiteral("output-xhtml")))->setChecked(true);
            qobject_cast<QLineEdit *>(f.optionControl(QStringLiteral("wrap")))->setText(QStringLiteral("80"));
            qobject_cast<QLineEdit *>(f.optionControl(QStringLiteral("alt-text")))
                ->setText(QStringLiteral("画像: 説明"));
            qobject_cast<QComboBox *>(f.optionControl(QStringLiteral("char-encoding")))
                ->setCurrentText(QStringLiteral("shiftjis"));
            f.chkSubDir->setChecked(true);
            f.UploadPanel->M_Type->setCurrentText(QStringLiteral("HTML 4.01 Frameset"));
            f.UploadPanel->w3m->setChecked(true);
        });
        QCOMPARE(f.showSettings(), int(QDialog::Accepted));
        const QStringList lines = configLines(*m_home);
        QVERIFY(lines.contains(QStringLiteral("output-xhtml:true")));
        QVERIFY(lines.contains(QStringLiteral("wrap:80")));
        QVERIFY(lines.contains(QStringLiteral("alt-text:画像: 説明")));
        QVERIFY(lines.contains(QStringLiteral("char-encoding:shiftjis")));
        QCOMPARE(lines.size(), 67);
        IniFile ini(ProgramFolder::iniPath());
        QCOMPARE(ini.readString(QStringLiteral("Other"), QStringLiteral("SubDir"), QString()),
                 QStringLiteral("1"));
        QCOMPARE(ini.readString(QStringLiteral("Markup"), QStringLiteral("Type"), QString()),
                 QStringLiteral("HTML 4.01 Frameset"));
        QCOMPARE(ini.readInt(QStringLiteral("Lint"), QStringLiteral("TextBrowser"), -1), 2);
        QVERIFY(m_settings->includeSubfolders);
        QVERIFY(m_settings->tidy.isTicked(QStringLiteral("output-xhtml")));
        QVERIFY(m_view->errors.isEmpty());
    }

    void cancelWritesNothingAndTheNextShowingDropsTheEdits()
    {
        SettingForm &f = form();
        const QByteArray config = m_home->read(QStringLiteral("Velmarin.txt"));
        const QByteArray ini = m_home->read(QStringLiteral("Velmarin.ini"));
        const QByteArray keys = m_home->read(QStringLiteral("key.ini"));
        const QString tidy = m_settings->tidyPath;
        whileModal(f.BitBtn2, [&] {
            qobject_cast<QCheckBox *>(f.optionControl(QStringLiteral("bare")))->setChecked(true);
            f.chkIEMnu->setChecked(true);
            f.TidyPathEdit->setText(m_home->file(QStringLiteral("typo")));
            f.UploadPanel->Medium->setCurrentText(QStringLiteral("print"));
        });
        QCOMPARE(f.showSettings(), int(QDialog::Rejected));
        QCOMPARE(m_home->read(QStringLiteral("Velmarin.txt")), config);
        QCOMPARE(m_home->read(QStringLiteral("Velmarin.ini")), ini);
        QCOMPARE(m_home->read(QStringLiteral("key.ini")), keys);
        QVERIFY(!m_settings->tidy.isTicked(QStringLiteral("bare")));
        QVERIFY(!m_settings->openInBrowser);
        QCOMPARE(m_settings->upload.cssMedium, QStringLiteral("all"));
        // The Tidy path in use is the saved one again, and so is the commands' state.
        QCOMPARE(m_settings->tidyPath, tidy);
        QVERIFY(m_view->enabled.value(Control::TidyMenuItems));

        bool bare = true, ie = true;
        QString path, medium;
        whileModal(f.BitBtn2, [&] {
            bare = qobject_cast<QCheckBox *>(f.optionControl(QStringLiteral("bare")))->isChecked();
            ie = f.chkIEMnu->isChecked();
            path = f.TidyPathEdit->text();
            medium = f.UploadPanel->Medium->currentText();
        });
        f.showSettings();
        QVERIFY(!bare);
        QVERIFY(!ie);
        QCOMPARE(path, tidy);
        QCOMPARE(medium, QStringLiteral("all"));
    }

    void theTidyPathFieldSwitchesTheTidyCommandsAtOnce()
    {
        TestSettingForm f(*m_settings, *m_store, m_target.get());
        QVERIFY(m_view->enabled.value(Control::TidyMenuItems));
        QTest::keyClicks(f.TidyPathEdit, QStringLiteral("x"));
        QVERIFY(!m_view->enabled.value(Control::TidyMenuItems, true));
        QVERIFY(!m_view->enabled.value(Control::TidyToolButtons, true));
        QTest::keyClick(f.TidyPathEdit, Qt::Key_Backspace);
        QVERIFY(m_view->enabled.value(Control::TidyMenuItems));
        QVERIFY(m_view->enabled.value(Control::TidyToolButtons));

        // Browsing for Tidy: an empty editor path does not stand in the way.
        const QString tidy = m_settings->tidyPath;
        f.TidyPathEdit->clear();
        QVERIFY(!m_view->enabled.value(Control::TidyMenuItems, true));
        f.answer = tidy;
        f.TidyPathButton->click();
        QCOMPARE(f.TidyPathEdit->text(), tidy);
        QVERIFY(f.filters.last().contains(QStringLiteral("tidy")));
        QVERIFY(m_view->enabled.value(Control::TidyMenuItems));
        // A cancelled browse with a broken editor path disables them.
        f.EditorPathEdit->setText(m_home->file(QStringLiteral("no-editor")));
        f.answer.clear();
        f.TidyPathButton->click();
        QCOMPARE(f.TidyPathEdit->text(), tidy);
        QVERIFY(!m_view->enabled.value(Control::TidyToolButtons, true));
        // The editor's browse button fills its field.
        f.answer = tidy;
        f.EditorPathButton->click();
        QCOMPARE(f.EditorPathEdit->text(), tidy);

        // Closing with Esc is a Cancel: the Tidy path in use is the one the dialog showed.
        f.TidyPathEdit->setText(m_home->file(QStringLiteral("typo")));
        QTest::keyClick(&f, Qt::Key_Escape);
        QCOMPARE(m_settings->tidyPath, tidy);
        QVERIFY(m_view->enabled.value(Control::TidyMenuItems));
    }

    void optionsTheTidyIgnoresAreGreyed()
    {
        SettingForm &f = form();
        for (const char *gone : {"drop-font-tags", "hide-endtags", "split", "slide-style"})
            QVERIFY2(f.isMarkedUnknown(QString::fromLatin1(gone)), gone);
        QVERIFY(!f.isMarkedUnknown(QStringLiteral("wrap")));
        QVERIFY(!f.isMarkedUnknown(QStringLiteral("fix-bad-comments")));
        QWidget *dropFont = f.optionControl(QStringLiteral("drop-font-tags"));
        QVERIFY(dropFont->isEnabled());
        QVERIFY(dropFont->toolTip().contains(TidyOptionControls::unknownHint()));
        QVERIFY(dropFont->statusTip().contains(TidyOptionControls::unknownHint()));
        QVERIFY(dropFont->palette().color(QPalette::Active, QPalette::WindowText) !=
                f.optionControl(QStringLiteral("bare"))->palette().color(QPalette::Active,
                                                                         QPalette::WindowText));

        // A Tidy that cannot be asked marks nothing; the marks come back with a real one.
        const QString tidy = m_settings->tidyPath;
        f.TidyPathEdit->setText(m_home->file(QStringLiteral("elsewhere")));
        f.refreshTidyCapabilities();
        QVERIFY(!f.isMarkedUnknown(QStringLiteral("drop-font-tags")));
        QCOMPARE(dropFont->toolTip(), QStringLiteral("Font,Centerの破棄"));
        QCOMPARE(dropFont->palette().color(QPalette::Active, QPalette::WindowText),
                 f.optionControl(QStringLiteral("bare"))->palette().color(QPalette::Active,
                                                                          QPalette::WindowText));
        f.TidyPathEdit->setText(tidy);
        f.refreshTidyCapabilities();
        QVERIFY(f.isMarkedUnknown(QStringLiteral("hide-endtags")));
        // The file format does not change: ignored options are still written.
        QVERIFY(configLines(*m_home).contains(QStringLiteral("hide-endtags:false")));
    }

    void theCaptureDialogAppliesTheCaptureRule()
    {
        SettingSCForm capture;
        QCOMPARE(capture.windowTitle(), QStringLiteral("ショートカットキーの設定"));
        QCOMPARE(capture.size(), QSize(412, 60));
        QCOMPARE(capture.OKButton->text(), QStringLiteral("OK"));
        QCOMPARE(capture.CancelButton->text(), QStringLiteral("キャンセル"));
        QStringList texts;
        for (QLabel *label : capture.findChildren<QLabel *>())
            texts << label->text();
        QVERIFY(texts.contains(QStringLiteral("キー設定　:")));
        QVERIFY(texts.contains(
            QStringLiteral("ShiftキーはCtrlかAltと組み見合わせないと設定できません。")));
        QCOMPARE(capture.shortcut(), quint16(kAlt | 'A'));
        QCOMPARE(capture.HotKey1->text(), QStringLiteral("Alt+A"));

        const struct {
            Qt::Key key;
            Qt::KeyboardModifiers modifiers;
            quint16 expected;
        } presses[] = {
            {Qt::Key_F5, Qt::NoModifier, quint16(kAlt | 0x74)},
            {Qt::Key_A, Qt::ShiftModifier, quint16(kAlt | 'A')},
            {Qt::Key_U, Qt::ControlModifier, quint16(kCtrl | 'U')},
            {Qt::Key_C, Qt::ControlModifier, quint16(kCtrl | 'C')},  // not the edit's copy
            {Qt::Key_F5, Qt::ShiftModifier | Qt::ControlModifier,
             quint16(Shortcut::ShiftBit | kCtrl | 0x74)},
        };
        for (const auto &press : presses) {
            QTest::keyClick(capture.HotKey1, press.key, press.modifiers);
            QCOMPARE(capture.shortcut(), press.expected);
            QCOMPARE(capture.HotKey1->text(), shortcutToText(press.expected));
        }
        // Holding a modifier shows it; letting go without a key keeps the value.
        QTest::keyPress(capture.HotKey1, Qt::Key_Control, Qt::ControlModifier);
        QCOMPARE(capture.HotKey1->text(), QStringLiteral("Ctrl+"));
        QTest::keyRelease(capture.HotKey1, Qt::Key_Control, Qt::NoModifier);
        QCOMPARE(capture.HotKey1->text(), QStringLiteral("Shift+Ctrl+F5"));
        // Esc alone is the dialog's, not a key to capture.
        QTest::keyClick(capture.HotKey1, Qt::Key_Escape);
        QCOMPARE(capture.shortcut(), quint16(Shortcut::ShiftBit | kCtrl | 0x74));
        capture.setShortcut(0);
        QCOMPARE(capture.HotKey1->text(), QString());
        QCOMPARE(capture.HotKey1->placeholderText(), QStringLiteral("なし"));

        capture.setShortcut(kAlt | 0x74);
        capture.show();
        QVERIFY(QTest::qWaitForWindowExposed(&capture));
        QVERIFY(capture.HotKey1->isVisible());
        QVERIFY(capture.CancelButton->geometry().bottom() < capture.height());
        for (QLabel *label : capture.findChildren<QLabel *>())
            QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->text()));
        QVERIFY(capture.grab().toImage().save(screenshotDir() +
                                              QStringLiteral("/settings-shortcut-key.png")));
    }

    void doubleClickingARowChangesTheKeyAtOnce()
    {
        SettingForm &f = form();
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        f.PageControl1->setCurrentIndex(3);
        QTreeWidgetItem *ie = f.lvKey->topLevelItem(4);
        QCOMPARE(ie->text(0), QStringLiteral("IE"));
        f.lvKey->setCurrentItem(ie);

        QString caption;
        QString shown;
        QTimer::singleShot(0, this, [&] {
            auto *capture = qobject_cast<SettingSCForm *>(QApplication::activeModalWidget());
            if (capture == nullptr)
                return;
            caption = capture->windowTitle();
            shown = capture->HotKey1->text();
            QTest::keyClick(capture->HotKey1, Qt::Key_F5);
            capture->OKButton->click();
        });
        const QRect rect = f.lvKey->visualItemRect(ie);
        doubleClick(f.lvKey, rect.center());
        QCOMPARE(caption, QStringLiteral("ショートカットキーの設定"));
        QCOMPARE(shown, QStringLiteral("F5"));
        QCOMPARE(ie->text(1), QStringLiteral("Alt+F5"));
        QCOMPARE(m_settings->keys.value(4), quint16(kAlt | 0x74));
        QCOMPARE(m_target->calls.size(), 1);
        QCOMPARE(m_target->calls.last().first.value(4), quint16(kAlt | 0x74));
        QVERIFY(m_target->calls.last().second);
        // Not written before the settings are saved.
        QCOMPARE(IniFile(ProgramFolder::keyIniPath())
                     .readString(QStringLiteral("Key"), QStringLiteral("IE"), QString()),
                 QStringLiteral("F5"));

        // Cancel in the capture dialog changes nothing.
        QTimer::singleShot(0, this, [&] {
            if (auto *capture = qobject_cast<SettingSCForm *>(QApplication::activeModalWidget())) {
                QTest::keyClick(capture->HotKey1, Qt::Key_F7, Qt::ControlModifier);
                capture->CancelButton->click();
            }
        });
        doubleClick(f.lvKey, rect.center());
        QCOMPARE(ie->text(1), QStringLiteral("Alt+F5"));
        QCOMPARE(m_target->calls.size(), 1);
        f.hide();
    }

    void restoringTheDefaultKeysTellsTheUser()
    {
        SettingForm &f = form();
        m_settings->keys.setValue(10, kCtrl | 'C');
        m_settings->keys.setValue(0, 0);
        QString message;
        QTimer::singleShot(0, this, [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                message = box->text();
                box->close();
            }
        });
        f.btnDefaultKey->click();
        QCOMPARE(message, QStringLiteral("ショートカットキーを初期値に戻しました。"));
        QCOMPARE(f.lvKey->topLevelItem(0)->text(1), QStringLiteral("F9"));
        QCOMPARE(f.lvKey->topLevelItem(9)->text(1), QStringLiteral("Ctrl+G"));
        QCOMPARE(f.lvKey->topLevelItem(10)->text(1), QStringLiteral("Ctrl+T"));
        QCOMPARE(m_target->calls.size(), 1);
        QVERIFY(m_target->calls.last().second);
        QCOMPARE(m_target->calls.last().first.value(9), quint16(kCtrl | 'G'));
        // key.ini still holds the keys of the last save.
        QVERIFY(IniFile(ProgramFolder::keyIniPath())
                    .readString(QStringLiteral("Key"), QStringLiteral("Gray"), QStringLiteral("x"))
                    .isEmpty());
    }

    void aLaterShowingReloadsTheKeysForTheActionsOnly()
    {
        SettingForm &f = form();
        whileModal(f.BitBtn2, [] {});
        f.showSettings();
        QVERIFY(m_target->calls.isEmpty());  // the first showing loads nothing

        IniFile(ProgramFolder::keyIniPath())
            .writeString(QStringLiteral("Key"), QStringLiteral("Tidy"), QStringLiteral("Ctrl+F9"));
        QString shown;
        whileModal(f.BitBtn2, [&] { shown = f.lvKey->topLevelItem(0)->text(1); });
        f.showSettings();
        QCOMPARE(shown, QStringLiteral("Ctrl+F9"));
        QCOMPARE(m_target->calls.size(), 1);
        QVERIFY(!m_target->calls.last().second);
        QCOMPARE(m_target->calls.last().first.value(0), quint16(kCtrl | 0x78));
    }

    void hintsReachTheMainWindowsStatusBar()
    {
        QMainWindow main;
        main.statusBar();
        SettingForm f(*m_settings, *m_store, m_target.get(), &main);
        QWidget *bare = f.optionControl(QStringLiteral("bare"));
        QStatusTipEvent tip(bare->statusTip());
        QApplication::sendEvent(bare, &tip);
        QCOMPARE(main.statusBar()->currentMessage(), bare->statusTip());
        QVERIFY(!main.statusBar()->currentMessage().isEmpty());
    }

    void screenshotOfEveryPage()
    {
        SettingForm &f = form();
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        const QString dir = screenshotDir();
        const QStringList names{QStringLiteral("html-xml"), QStringLiteral("other"),
                                QStringLiteral("upload"), QStringLiteral("velmarin")};
        for (int page = 0; page < names.size(); ++page) {
            f.PageControl1->setCurrentIndex(page);
            QTest::qWait(30);
            // Every visible control fits inside the page.
            QWidget *pageWidget = f.PageControl1->widget(page);
            for (QWidget *w : pageWidget->findChildren<QWidget *>()) {
                if (!w->isVisible() || w->parentWidget() == nullptr)
                    continue;
                const QRect inPage(w->mapTo(pageWidget, QPoint(0, 0)), w->size());
                const QString what = w->objectName() + QStringLiteral(" on ") + names.at(page);
                QVERIFY2(pageWidget->rect().contains(inPage), qPrintable(what));
                // Captions are not cut off. Push buttons keep the classic
                // 75-pixel width, below the style's wish but wide enough.
                if (auto *push = qobject_cast<QPushButton *>(w))
                    QVERIFY2(push->fontMetrics().horizontalAdvance(push->text()) + 8 <= push->width(),
                             qPrintable(what));
                else if (qobject_cast<QCheckBox *>(w) || qobject_cast<QRadioButton *>(w) ||
                         qobject_cast<QLabel *>(w))
                    QVERIFY2(w->width() >= w->sizeHint().width(), qPrintable(what));
            }
            const QImage shot = f.grab().toImage();
            QVERIFY(!shot.isNull());
            QVERIFY(shot.save(dir + QStringLiteral("/settings-") + names.at(page) +
                              QStringLiteral(".png")));
        }
        f.hide();
    }

private:
    SettingForm &form()
    {
        m_form = std::make_unique<SettingForm>(*m_settings, *m_store, m_target.get());
        return *m_form;
    }

    std::unique_ptr<TempHome> m_home;
    std::unique_ptr<AppSettings> m_settings;
    std::unique_ptr<RecordingView> m_view;
    std::unique_ptr<SettingsStore> m_store;
    std::unique_ptr<RecordingTarget> m_target;
    std::unique_ptr<SettingForm> m_form;
};

QTEST_MAIN(SettingsFormTest)
#include "settings_form_test.moc"
