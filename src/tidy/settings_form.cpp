#include "tidy/settings_form.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusTipEvent>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/app_settings.h"
#include "core/settings_store.h"
#include "tidy/upload_page_gui.h"
#include "core/window_fonts_gui.h"
#include "integration/browser_menu_ie.h"
#include "integration/browser_menu_opera.h"
#include "integration/browser_menu_state.h"
#include "integration/desktop_entry.h"
#include "integration/menu_entry_prompts.h"
#include "integration/setting_sc_form.h"
#include "integration/shortcut.h"
#include "integration/shortcut_target.h"
#include "tidy/tidy_capabilities.h"
#include "tidy/tidy_option_controls_gui.h"

namespace {

QPushButton *button(const QString &caption, const char *name, const QString &hint, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setStatusTip(hint);
    b->setAutoDefault(false);
    return b;
}

// A path field with its browse button, in the fixed-pitch font.
QLineEdit *pathField(const char *name, const QString &hint, QToolButton **browse, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setStatusTip(hint);
    edit->setFont(WindowFonts::fixedFont());
    *browse = new QToolButton(parent);
    (*browse)->setObjectName(QString::fromLatin1(name) + QStringLiteral("Button"));
    (*browse)->setText(QStringLiteral("..."));
    (*browse)->setStatusTip(hint);
    return edit;
}

}  // namespace

SettingForm::SettingForm(AppSettings &settings, SettingsStore &store, ShortcutTarget *shortcuts,
                         QWidget *parent)
    : QDialog(parent),
      m_settings(settings),
      m_store(store),
      m_shortcuts(shortcuts),
      m_tidy(std::make_unique<TidyOptionControls>())
{
    setObjectName(QStringLiteral("SettingForm"));
    setWindowTitle(QStringLiteral("設定"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFont(WindowFonts::dialogFont());
    setFixedSize(593, 435);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setFixedHeight(401);
    PageControl1->addTab(m_tidy->buildHtmlXmlPage(PageControl1), QStringLiteral("HTML,XML"));
    PageControl1->addTab(m_tidy->buildOtherPage(PageControl1), QStringLiteral("Other"));
    UploadPanel = new UploadPage(PageControl1);
    PageControl1->addTab(UploadPanel, QStringLiteral("UpLoad"));
    PageControl1->addTab(buildVelmarinPage(), QStringLiteral("Velmarin"));
    layout->addWidget(PageControl1);
    fpiEdit = m_tidy->fpiEdit();

    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(6, 4, 8, 5);
    buttons->addStretch(1);
    BitBtn1 = button(QStringLiteral("OK"), "BitBtn1", QString(), this);
    BitBtn2 = button(QStringLiteral("キャンセル"), "BitBtn2", QString(), this);
    BitBtn1->setDefault(true);
    for (QPushButton *b : {BitBtn1, BitBtn2}) {
        b->setFixedSize(75, 25);
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);
    connect(BitBtn1, &QPushButton::clicked, this, &SettingForm::accept);
    connect(BitBtn2, &QPushButton::clicked, this, &SettingForm::reject);

    connect(TidyPathEdit, &QLineEdit::textChanged, this,
            [this](const QString &text) { m_store.setTidyPath(text); });
    connect(TidyPathEdit, &QLineEdit::editingFinished, this, &SettingForm::refreshTidyCapabilities);
    connect(EditorPathButton, &QToolButton::clicked, this, &SettingForm::browseEditor);
    connect(TidyPathButton, &QToolButton::clicked, this, &SettingForm::browseTidy);
    connect(lvKey, &QTreeWidget::itemDoubleClicked, this, &SettingForm::editKey);
    connect(btnDefaultKey, &QPushButton::clicked, this, &SettingForm::restoreDefaultKeys);

    // Start-up has loaded the settings already.
    fillControls();
}

SettingForm::~SettingForm() = default;

QWidget *SettingForm::buildVelmarinPage()
{
    auto *page = new QWidget(PageControl1);
    page->setObjectName(QStringLiteral("VelmarinPanel"));
    auto *grid = new QGridLayout(page);
    grid->setContentsMargins(8, 8, 8, 8);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);

    EditorPathEdit = pathField(
        "EditorPathEdit", QStringLiteral("Tidyが整理した文書を開くためのエディタを指定してください"),
        &EditorPathButton, page);
    TidyPathEdit = pathField("TidyPathEdit", QStringLiteral("HTML Tidyの場所を指定してください"),
                             &TidyPathButton, page);
    auto *editorLabel = new QLabel(QStringLiteral("エディタの場所 :"), page);
    editorLabel->setBuddy(EditorPathEdit);
    auto *tidyLabel = new QLabel(QStringLiteral("Tidyの場所 :"), page);
    tidyLabel->setBuddy(TidyPathEdit);
    grid->addWidget(editorLabel, 0, 0);
    grid->addWidget(EditorPathEdit, 0, 1, 1, 2);
    grid->addWidget(EditorPathButton, 0, 3);
    grid->addWidget(tidyLabel, 1, 0);
    grid->addWidget(TidyPathEdit, 1, 1, 1, 2);
    grid->addWidget(TidyPathButton, 1, 3);

    chkSubDir = new QCheckBox(QStringLiteral("フォルダ一括はサブフォルダも含める"), page);
    chkSubDir->setObjectName(QStringLiteral("chkSubDir"));
    grid->addWidget(chkSubDir, 2, 0, 1, 4);
    chkTidyJa = new QCheckBox(QStringLiteral("Tidyのメッセージを日本語で表示する"), page);
    chkTidyJa->setObjectName(QStringLiteral("chkTidyJa"));
    grid->addWidget(chkTidyJa, 3, 0, 1, 4);

    // Left: the browser menu entries.
    auto *left = new QVBoxLayout;
    auto *browser = new QGroupBox(QStringLiteral("ブラウザ"), page);
    browser->setObjectName(QStringLiteral("GroupBox11"));
    auto *browserLayout = new QVBoxLayout(browser);
    chkIEMnu = new QCheckBox(QStringLiteral("ブラウザで開く"), browser);
    chkIEMnu->setObjectName(QStringLiteral("chkIEMnu"));
    chkIEMnu->setStatusTip(QStringLiteral("エラーや出力をブラウザで開きます。"));
    browserLayout->addWidget(chkIEMnu);
    auto pair = [&](const QString &title, const char *name, QPushButton *add, QPushButton *remove) {
        auto *box = new QGroupBox(title, browser);
        box->setObjectName(QString::fromLatin1(name));
        auto *row = new QHBoxLayout(box);
        row->setContentsMargins(6, 2, 6, 4);
        add->setParent(box);
        remove->setParent(box);
        add->setFixedSize(75, 25);
        remove->setFixedSize(75, 25);
        row->addWidget(add);
        row->addWidget(remove);
        browserLayout->addWidget(box);
    };
    btnAddIE = button(QStringLiteral("組み込む"), "btnAddIE",
                      QStringLiteral("IEの右クリックメニューから呼び出せるようにします。"), browser);
    btnRemoveIE = button(QStringLiteral("解除"), "btnRemoveIE",
                         QStringLiteral("IEの右クリックへの組み込みを解除します。"), browser);
    btnAddOP = button(QStringLiteral("組み込む"), "btnAddOP",
                      QStringLiteral("Operaの右クリックメニューへ組みこみます。"), browser);
    btnRemoveOP = button(QStringLiteral("解除"), "btnRemoveOP",
                         QStringLiteral("Operaの右クリック組み込みを解除します。"), browser);
    pair(QStringLiteral("IE"), "GroupBox12", btnAddIE, btnRemoveIE);
    pair(QStringLiteral("Opera"), "GroupBox13", btnAddOP, btnRemoveOP);
    btnAddDesktop = button(QStringLiteral("組み込む"), "btnAddDesktop",
                           QStringLiteral("デスクトップの「アプリケーションで開く」にVelmarinを加えます。"),
                           browser);
    btnRemoveDesktop = button(QStringLiteral("解除"), "btnRemoveDesktop",
                              QStringLiteral("デスクトップの「アプリケーションで開く」からVelmarinを外します。"),
                              browser);
    pair(QStringLiteral("デスクトップ"), "GroupBox14", btnAddDesktop, btnRemoveDesktop);
    wireMenuButtons();
    browser->setFixedWidth(190);
    left->addWidget(browser);
    left->addStretch(1);
    grid->addLayout(left, 4, 0, 1, 2);

    // Right: the shortcut keys.
    auto *right = new QVBoxLayout;
    right->setSpacing(2);
    right->addWidget(new QLabel(
        QStringLiteral("ショートカットキー(項目をダブルクリックすると編集できます。) :"), page));
    right->addWidget(new QLabel(QStringLiteral("設定後、すぐに反映されます。"), page));
    lvKey = new QTreeWidget(page);
    lvKey->setObjectName(QStringLiteral("lvKey"));
    lvKey->setColumnCount(2);
    lvKey->setHeaderLabels({QStringLiteral("動作"), QStringLiteral("キー")});
    lvKey->setRootIsDecorated(false);
    lvKey->setUniformRowHeights(true);
    lvKey->setSelectionMode(QAbstractItemView::SingleSelection);
    lvKey->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvKey->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvKey->setAllColumnsShowFocus(true);
    lvKey->header()->setSectionsMovable(false);
    lvKey->header()->resizeSection(0, 170);
    right->addWidget(lvKey, 1);
    btnDefaultKey = button(QStringLiteral("キーを初期値に戻す"), "btnDefaultKey", QString(), page);
    right->addWidget(btnDefaultKey, 0, Qt::AlignRight);
    grid->addLayout(right, 4, 2, 1, 2);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(4, 1);
    return page;
}

int SettingForm::showSettings()
{
    if (m_firstShow) {
        m_firstShow = false;
    } else {
        m_store.load();
        // The actions take the keys of key.ini again; the menu entries keep theirs.
        if (m_shortcuts)
            m_shortcuts->applyShortcuts(m_settings.keys, false);
        fillControls();
    }
    PageControl1->setCurrentIndex(0);
    return exec();
}

void SettingForm::accept()
{
    readControls();
    // A file that cannot be written has been reported; the dialog closes all the same.
    m_store.save();
    QDialog::accept();
}

void SettingForm::reject()
{
    // Nothing typed here is used after a Cancel, the Tidy path included: the
    // commands follow the path in use again.
    m_store.setTidyPath(m_tidyPathAtShow);
    QDialog::reject();
}

void SettingForm::fillControls()
{
    m_tidy->fill(m_settings.tidy);
    EditorPathEdit->setText(m_settings.editorPath);
    // The settings already hold this path, so the change rule does nothing new.
    TidyPathEdit->setText(m_settings.tidyPath);
    m_tidyPathAtShow = m_settings.tidyPath;
    chkSubDir->setChecked(m_settings.includeSubfolders);
    chkTidyJa->setChecked(m_settings.tidyJapanese);
    chkIEMnu->setChecked(m_settings.openInBrowser);
    UploadPanel->fill(m_settings.upload);
    fillMenuButtons();
    fillKeyList();
    m_capabilitiesOf.clear();
    refreshTidyCapabilities();
}

void SettingForm::readControls()
{
    m_tidy->read(m_settings.tidy);
    m_settings.editorPath = EditorPathEdit->text();
    m_store.setTidyPath(TidyPathEdit->text());
    m_settings.includeSubfolders = chkSubDir->isChecked();
    m_settings.tidyJapanese = chkTidyJa->isChecked();
    m_settings.openInBrowser = chkIEMnu->isChecked();
    UploadPanel->read(m_settings.upload);
}

void SettingForm::refreshTidyCapabilities()
{
    const QString path = TidyPathEdit->text();
    if (path == m_capabilitiesOf && !m_capabilitiesOf.isEmpty())
        return;
    m_capabilitiesOf = path;
    m_tidy->markUnknown(knownTidyOptions(path));
}

void SettingForm::fillKeyList()
{
    lvKey->clear();
    for (int row = 0; row < ShortcutRowCount; ++row) {
        auto *item = new QTreeWidgetItem(lvKey);
        item->setText(0, shortcutRow(row).caption.toString());
        item->setText(1, shortcutToText(m_settings.keys.value(row)));
    }
}

void SettingForm::editKey()
{
    QTreeWidgetItem *item = lvKey->currentItem();
    if (item == nullptr || !item->isSelected())
        return;
    const int row = lvKey->indexOfTopLevelItem(item);
    SettingSCForm capture(this);
    capture.setShortcut(textToShortcut(item->text(1)));
    if (capture.exec() != QDialog::Accepted)
        return;
    const quint16 key = capture.shortcut();
    item->setText(1, shortcutToText(key));
    m_settings.keys.setValue(row, key);
    if (m_shortcuts)
        m_shortcuts->applyShortcuts(m_settings.keys, true);
}

void SettingForm::restoreDefaultKeys()
{
    m_settings.keys.restoreDefaults();
    if (m_shortcuts)
        m_shortcuts->applyShortcuts(m_settings.keys, true);
    fillKeyList();
    QMessageBox::information(this, QStringLiteral("Velmarin"),
                             QStringLiteral("ショートカットキーを初期値に戻しました。"));
}

// The menu entries talk to the user through the dialog's own windows.
class SettingFormPrompts : public MenuEntryPrompts {
public:
    explicit SettingFormPrompts(SettingForm *form) : m_form(form) {}
    void notice(const QString &text) override { m_form->menuNotice(text); }
    QString chooseFile(const QString &filter) override
    {
        return m_form->chooseFile(QString(), filter, QString());
    }

private:
    SettingForm *m_form;
};

namespace {

void applyStates(QPushButton *add, QPushButton *remove, const MenuButtonStates &states)
{
    if (states.keep)
        return;
    add->setEnabled(states.addEnabled);
    remove->setEnabled(states.removeEnabled);
}

}  // namespace

void SettingForm::fillMenuButtons()
{
    const QString program = QCoreApplication::applicationFilePath();
    applyStates(btnAddIE, btnRemoveIE, ieMenuButtonStates());
    applyStates(btnAddOP, btnRemoveOP, operaMenuButtonStates(m_settings.operaOptionFile));
    applyStates(btnAddDesktop, btnRemoveDesktop, DesktopEntry::buttonStates(program));
}

void SettingForm::wireMenuButtons()
{
    // The entries change at once; OK and Cancel have nothing to do with them.
    using Action = std::optional<MenuButtonStates> (*)(MenuEntryPrompts &, const QString &);
    auto wire = [this](QPushButton *pressed, QPushButton *add, QPushButton *remove, Action action) {
        connect(pressed, &QPushButton::clicked, this, [this, add, remove, action] {
            SettingFormPrompts prompts(this);
            const auto states = action(prompts, QCoreApplication::applicationFilePath());
            if (states)
                applyStates(add, remove, *states);
            // The Opera entry remembers its menu file in Velmarin.ini at once;
            // a later OK must not write the old one back.
            m_settings.operaOptionFile = OperaMenu::rememberedMenuFile();
        });
    };
    wire(btnAddIE, btnAddIE, btnRemoveIE, &IeMenu::add);
    wire(btnRemoveIE, btnAddIE, btnRemoveIE,
         [](MenuEntryPrompts &p, const QString &) { return IeMenu::remove(p); });
    wire(btnAddOP, btnAddOP, btnRemoveOP, &OperaMenu::add);
    wire(btnRemoveOP, btnAddOP, btnRemoveOP,
         [](MenuEntryPrompts &p, const QString &) { return OperaMenu::remove(p); });
    wire(btnAddDesktop, btnAddDesktop, btnRemoveDesktop, &DesktopEntry::add);
    wire(btnRemoveDesktop, btnAddDesktop, btnRemoveDesktop,
         [](MenuEntryPrompts &p, const QString &) { return DesktopEntry::remove(p); });
}

void SettingForm::menuNotice(const QString &text)
{
    QMessageBox::information(this, QStringLiteral("Velmarin"), text);
}

QString SettingForm::chooseFile(const QString &title, const QString &filter, const QString &current)
{
    const QString start = current.isEmpty() ? QString() : QFileInfo(current).absolutePath();
    return QFileDialog::getOpenFileName(this, title, start, filter);
}

void SettingForm::browseEditor()
{
    const QString chosen = chooseFile(QStringLiteral("エディタの場所"),
                                      QStringLiteral("実行可能ファイル (*)"), EditorPathEdit->text());
    if (!chosen.isEmpty())
        EditorPathEdit->setText(chosen);
}

void SettingForm::browseTidy()
{
    const QString chosen =
        chooseFile(QStringLiteral("Tidyの場所"),
                   QStringLiteral("Tidy (tidy tidy5);;実行可能ファイル (*)"), TidyPathEdit->text());
    if (!chosen.isEmpty()) {
        TidyPathEdit->setText(chosen);
        refreshTidyCapabilities();
    }
    m_store.afterTidyBrowse(EditorPathEdit->text());
}

QWidget *SettingForm::optionControl(const QString &optionName) const
{
    return m_tidy->control(optionName);
}

QLabel *SettingForm::optionLabelWidget(const QString &optionName) const
{
    return m_tidy->label(optionName);
}

bool SettingForm::isMarkedUnknown(const QString &optionName) const
{
    return m_tidy->isMarkedUnknown(optionName);
}

bool SettingForm::event(QEvent *event)
{
    // A status tip stops at the window it was raised in; this dialog has no
    // status bar, the main window has.
    if (event->type() == QEvent::StatusTip && parentWidget() != nullptr) {
        QApplication::sendEvent(parentWidget()->window(), event);
        return true;
    }
    return QDialog::event(event);
}
