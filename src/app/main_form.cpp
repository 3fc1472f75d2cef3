#include "main_form.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeView>
#include <QVBoxLayout>
#include <QFileInfo>
#include <QLabel>
#include <QToolButton>

#include "access/color_chk_form.h"
#include "access/gray_form.h"
#include "access/gray_image.h"
#include "access/table_action.h"
#include "access/table_page_gui.h"
#include "app/about_form.h"
#include "app/embedded_browser_gui.h"
#include "app/main_actions.h"
#include "app/report_icons_gui.h"
#include "app/result_header_gui.h"
#include "app/window_placement.h"
#include "app/main_form_actions.h"
#include "app/open_url_form.h"
#include "app/upload_browsers_gui.h"
#include "integration/browser_bridges.h"
#include "platform/browser_bridge.h"
#include "app/toolbar_icons_gui.h"
#include "integration/shortcut.h"
#include "integration/shortcut_dispatch.h"
#include "integration/shortcut_keys.h"
#include "tidy/settings_form.h"
#include "core/window_fonts_gui.h"
#include "platform/ini_file.h"
#include "platform/process_runner.h"
#include "platform/program_folder.h"

namespace {

QStringList localFiles(const QMimeData *mime)
{
    QStringList files;
    if (mime == nullptr)
        return files;
    for (const QUrl &url : mime->urls())
        if (url.isLocalFile())
            files << url.toLocalFile();
    return files;
}

QKeySequence keySequence(quint16 shortcut)
{
    const QtKeyPress press = shortcutToQtKey(shortcut);
    return press.key == 0 ? QKeySequence()
                          : QKeySequence(QKeyCombination(press.modifiers, Qt::Key(press.key)));
}

}  // namespace

MainForm::MainForm(const QStringList &arguments, ProcessRunner *runner, QWidget *parent,
                   BrowserBridge *browsers)
    : QMainWindow(parent), m_arguments(arguments)
{
    if (runner == nullptr) {
        m_ownRunner = std::make_unique<ProcessRunner>();
        runner = m_ownRunner.get();
    }
    if (browsers == nullptr) {
        m_ownBrowsers = std::make_unique<DesktopBrowserBridge>(*runner);
        browsers = m_ownBrowsers.get();
    }
    setWindowTitle(QStringLiteral("Velmarin"));
    setFont(WindowFonts::dialogFont());
    resize(WindowPlacement::kDesignedSize);
    setMinimumSize(WindowPlacement::kMinimumSize);

    m_actions = std::make_unique<MainActions>(*this, *runner, browsers);
    m_uploadBrowsers = std::make_unique<MainFormUploadBrowsers>(
        [this] { return webBrowser2(); },
        [this](const QString &text, bool clearLater) {
            if (!text.isEmpty())
                statusBar()->showMessage(text);
            if (clearLater)
                Timer1.start();
        });
    m_actions->upload().setBrowsers(m_uploadBrowsers.get());
    buildActions();
    buildMenus();
    buildToolBar();
    buildPages();

    Timer1.setInterval(5000);
    Timer1.setSingleShot(true);
    connect(&Timer1, &QTimer::timeout, this, [this] { statusBar()->clearMessage(); });

    // The settings come first: loading them sets the Tidy commands' state and
    // the shortcut keys; menu entries show the keys only when key.ini existed.
    // The settings dialog itself, with a control per Tidy option and a
    // question to the Tidy in use, is made when first shown.
    const bool keyIniExisted = QFileInfo::exists(ProgramFolder::keyIniPath());
    m_actions->start();
    applyShortcuts(m_actions->settings().keys, keyIniExisted);

    m_firstPaint = true;
    PageControl1->setCurrentIndex(0);
    QScreen *screen = QGuiApplication::primaryScreen();
    const QSize workArea = screen ? screen->availableGeometry().size() : QSize(1024, 768);
    const QRect placement = WindowPlacement::load(IniFile(ProgramFolder::iniPath()), workArea);
    move(placement.topLeft());
    resize(placement.size());
}

MainForm::~MainForm() = default;

void MainForm::buildActions()
{
    for (const MainActionDef &def : mainActionDefs()) {
        auto *a = new QAction(def.caption, this);
        a->setObjectName(def.name);
        a->setStatusTip(def.hint);
        const QString name = def.name;
        connect(a, &QAction::triggered, this, [this, name] { routeAction(name); });
        // The action's key is shown, not grabbed: two actions may share a
        // key, which Qt would take as ambiguous and run neither. The key
        // shortcuts of rebuildKeyDispatch() decide.
        connect(a, &QAction::enabledChanged, this, &MainForm::refreshKeyStates);
        m_actionsByName.insert(def.name, a);
    }
}

void MainForm::routeAction(const QString &name)
{
    if (name == QLatin1String("Table"))
        m_tableAction->run();
    else if (name == QLatin1String("Tidy"))
        m_actions->tidyAction();
    else if (name == QLatin1String("Folder"))
        m_actions->folderAction();
    else if (name == QLatin1String("CSS"))
        m_actions->cssAction();
    else if (name == QLatin1String("LinkCheck"))
        m_actions->linkAction();
    else if (name == QLatin1String("InternetEx"))
        m_actions->captureAction(CaptureBrowser::InternetExplorer);
    else if (name == QLatin1String("Opera"))
        m_actions->captureAction(CaptureBrowser::Opera);
    else if (name == QLatin1String("Mozilla"))
        m_actions->captureAction(CaptureBrowser::Mozilla);
    else if (name == QLatin1String("NC"))
        m_actions->captureAction(CaptureBrowser::Netscape);
    else if (name == QLatin1String("ChmOpen"))
        m_actions->openHelp();
    else if (name == QLatin1String("ColorChk"))
        ColorChkForm(this, this).exec();
    else if (name == QLatin1String("Gray")) {
        const QString file = GrayScale::chooseImage(*this, m_actions->folders());
        if (!file.isEmpty())
            GrayForm::showFile(file, this);
    }
    else if (name == QLatin1String("OpenURL1"))
        openUrl1();
    else if (name == QLatin1String("Nu")) {
        if (!m_actions->isRunning())
            m_actions->nuCheck().nuExecute();
    }
    else if (const int service = QStringList{QStringLiteral("W3CExe"), QStringLiteral("LintExe"),
                                             QStringLiteral("WDGExe"), QStringLiteral("CSSExe")}
                                     .indexOf(name);
             service >= 0)
        m_actions->uploadFileAction(service);
}

void MainForm::openUrl1()
{
    TOpenURLForm form(this);
    if (form.exec() == QDialog::Accepted)
        m_actions->runUrlChecks(form.acceptedUrl(), form.tickedChecks());
}

void MainForm::buildMenus()
{
    auto addEntries = [this](QMenu *menu, const QString &submenu) {
        for (const MenuEntryDef &def : checkMenuEntries(submenu)) {
            QAction *target = action(def.action);
            auto *entry = menu->addAction(def.caption);
            entry->setObjectName(def.name);
            // Its key is shown here and answered by the window (rebuildKeyDispatch).
            entry->setShortcutContext(Qt::WidgetShortcut);
            entry->setStatusTip(def.hint);
            entry->setEnabled(target->isEnabled());
            connect(entry, &QAction::triggered, target, &QAction::trigger);
            m_menuEntries.insert(def.name, entry);
        }
    };
    QMenu *check = menuBar()->addMenu(QStringLiteral("文法チェック(&C)"));
    for (const QString &submenu : {QStringLiteral("文法チェック"), QStringLiteral("ブラウザ"),
                                   QStringLiteral("アップロード"), QStringLiteral("その他")}) {
        QMenu *menu = check->addMenu(submenu);
        addEntries(menu, submenu);
        if (submenu == QStringLiteral("文法チェック"))
            menu->addMenu(nuMenu());
    }
    addEntries(check, QString());

    QMenu *options = menuBar()->addMenu(QStringLiteral("設定(&O)"));
    QAction *setting = options->addAction(QStringLiteral("設定(&O)..."));
    setting->setObjectName(QStringLiteral("Setting1"));
    setting->setStatusTip(QStringLiteral("Velmarinの設定を行います。"));
    connect(setting, &QAction::triggered, this, &MainForm::showSettings);
    m_menuEntries.insert(QStringLiteral("Setting1"), setting);

    QMenu *help = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
    QAction *showHelp = help->addAction(QStringLiteral("ヘルプの表示(&H)"));
    showHelp->setObjectName(QStringLiteral("Help1"));
    connect(showHelp, &QAction::triggered, action(QStringLiteral("ChmOpen")), &QAction::trigger);
    m_menuEntries.insert(QStringLiteral("Help1"), showHelp);
    QAction *about = help->addAction(QStringLiteral("Velmarinについて(&A)"));
    about->setObjectName(QStringLiteral("About1"));
    connect(about, &QAction::triggered, this, &MainForm::showAbout);
    m_menuEntries.insert(QStringLiteral("About1"), about);
}

void MainForm::buildToolBar()
{
    ToolBar1 = addToolBar(QStringLiteral("ToolBar1"));
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    ToolBar1->setIconSize(QSize(24, 24));
    const QColor check(0x2f, 0x6f, 0xb0), browser(0x3f, 0x8f, 0x4f), access(0xb0, 0x6a, 0x1f);
    QAction *nuButton = nullptr;
    for (const ToolButtonDef &def : toolButtonDefs()) {
        if (def.name == QLatin1String("ToolButton5"))
            nuButton = addNuToolButton();  // the last of the checks
        if (def.separatorBefore)
            ToolBar1->addSeparator();
        QAction *target = action(def.action);
        const int index = static_cast<int>(m_toolButtons.size());
        const QColor colour = index < 4 ? check : (index < 8 ? browser : access);
        QAction *button = ToolBar1->addAction(glyphIcon(def.glyph, colour), target->text());
        button->setObjectName(def.name);
        button->setStatusTip(def.hint);
        button->setEnabled(target->isEnabled());
        connect(button, &QAction::triggered, target, &QAction::trigger);
        m_toolButtons.insert(def.name, button);
    }
    m_toolButtons.insert(QStringLiteral("NuButton"), nuButton);

    ToolBar1->addSeparator();
    UploadButton = new QToolButton(ToolBar1);
    UploadButton->setObjectName(QStringLiteral("UploadButton"));
    UploadButton->setIcon(glyphIcon(QStringLiteral("Up"), QColor(0x6a, 0x4f, 0xa0)));
    UploadButton->setPopupMode(QToolButton::MenuButtonPopup);
    auto *uploads = new QMenu(UploadButton);
    for (const MenuEntryDef &def : checkMenuEntries(QStringLiteral("アップロード"))) {
        QAction *target = action(def.action);
        QAction *item = uploads->addAction(def.caption);
        item->setEnabled(target->isEnabled());
        item->setStatusTip(def.hint);
        connect(item, &QAction::triggered, target, &QAction::trigger);
    }
    UploadButton->setMenu(uploads);
    connect(UploadButton, &QToolButton::clicked, action(QStringLiteral("W3CExe")), &QAction::trigger);
    ToolBar1->addWidget(UploadButton);

    ToolBar1->addSeparator();
    QAction *url = action(QStringLiteral("OpenURL1"));
    QAction *urlButton =
        ToolBar1->addAction(glyphIcon(QStringLiteral("URL"), QColor(0x4a, 0x5a, 0x6a)), url->text());
    urlButton->setObjectName(QStringLiteral("ToolButton12"));
    urlButton->setStatusTip(QStringLiteral("指定されたURLをチェックします。"));
    urlButton->setEnabled(url->isEnabled());
    connect(urlButton, &QAction::triggered, url, &QAction::trigger);
    m_toolButtons.insert(urlButton->objectName(), urlButton);
    ToolBar1->addSeparator();
    QAction *settings = ToolBar1->addAction(glyphIcon(QStringLiteral("設"), QColor(0x55, 0x55, 0x55)),
                                            QStringLiteral("設定"));
    settings->setObjectName(QStringLiteral("ToolButton13"));
    settings->setStatusTip(QStringLiteral("Velmarinの設定を行います。"));
    connect(settings, &QAction::triggered, this, &MainForm::showSettings);
    m_toolButtons.insert(settings->objectName(), settings);
}

QMenu *MainForm::listMenu(QTreeView *list, const QString &clearCaption,
                          const std::function<bool()> &clearAllowed,
                          const std::function<void()> &clear, const std::function<void()> &save,
                          const std::function<void()> &copy)
{
    auto *menu = new QMenu(this);
    QAction *clearItem = menu->addAction(clearCaption);
    menu->addSeparator();
    QAction *saveItem = menu->addAction(QStringLiteral("結果を保存(&S)"));
    QAction *copyItem = menu->addAction(QStringLiteral("結果をクリップボードへ(&B)"));
    connect(clearItem, &QAction::triggered, this, clear);
    connect(saveItem, &QAction::triggered, this, save);
    connect(copyItem, &QAction::triggered, this, copy);
    connect(menu, &QMenu::aboutToShow, this, [list, clearAllowed, clearItem, saveItem, copyItem] {
        const bool rows = list->model()->rowCount() > 0;
        // Clearing follows the page's clear button, which a running check disables.
        clearItem->setEnabled(rows && clearAllowed());
        saveItem->setEnabled(rows);
        copyItem->setEnabled(rows);
    });
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list, &QWidget::customContextMenuRequested, this, [list, menu](const QPoint &pos) {
        menu->popup(list->viewport()->mapToGlobal(pos));
    });
    return menu;
}

QTreeView *MainForm::resultList(QWidget *parent, const QString &name)
{
    auto *list = new QTreeView(parent);
    list->setObjectName(name);
    auto *header = new ResultHeader(list);
    // As the tree view sets up its own header.
    header->setSectionsMovable(true);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    list->setHeader(header);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setAllColumnsShowFocus(true);
    list->header()->setStretchLastSection(true);
    return list;
}

static QHBoxLayout *buttonRow(std::initializer_list<QWidget *> buttons)
{
    auto *row = new QHBoxLayout;
    row->addStretch(1);
    for (QWidget *b : buttons)
        row->addWidget(b);
    return row;
}

void MainForm::buildPages()
{
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setTabPosition(QTabWidget::South);
    setCentralWidget(PageControl1);
    PageControl1->addTab(buildTidyPage(), QStringLiteral("HTML Tidy"));
    PageControl1->addTab(buildCssPage(), QStringLiteral("CSS"));
    PageControl1->addTab(buildLinkPage(), QStringLiteral("Link"));
    PageControl1->addTab(buildUploadPage(), QStringLiteral("UpLoad"));
    PageControl1->addTab(buildTablePage(), QStringLiteral("線形化"));
    PageControl1->addTab(buildNuPage(), QStringLiteral("HTML5"));
    connect(PageControl1, &QTabWidget::currentChanged, this, [this](int index) {
        statusBar()->clearMessage();
        Timer1.stop();
        // The browsers are made when their page is first shown.
        if (index == 3)
            webBrowser2();
        else if (index == 4)
            webBrowser1();
    });
    statusBar()->setSizeGripEnabled(true);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setMaximumWidth(200);
    ProgressBar1->setFormat(QStringLiteral("%v/%m"));
    ProgressBar1->setVisible(false);
    statusBar()->addPermanentWidget(ProgressBar1);
}

QWidget *MainForm::buildTidyPage()
{
    auto *page = new QWidget(PageControl1);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(4, 4, 4, 4);

    ComboBox1 = new QComboBox(page);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setMaxVisibleItems(10);
    ComboBox1->setModel(&m_actions->fileSelector());
    // The fixed-pitch face is another font file to open and measure, and
    // the selector stays empty until a check runs: it takes that face with
    // its first entry (the empty box is as high in either face).
    connect(&m_actions->fileSelector(), &QAbstractItemModel::rowsInserted, this,
            &MainForm::useSelectorFont);
    connect(&m_actions->fileSelector(), &QAbstractItemModel::modelReset, this,
            &MainForm::useSelectorFont);
    // Choosing an entry shows its report and opens its tidied document.
    connect(ComboBox1, &QComboBox::activated, this, [this](int index) { m_actions->showEntry(index); });
    layout->addWidget(ComboBox1);

    ListView1 = resultList(page, QStringLiteral("ListView1"));
    m_icons = new ReportIconsModel(this);
    m_icons->setSourceModel(&m_actions->tidyList());
    ListView1->setModel(m_icons);
    ListView1->header()->resizeSection(0, 60);
    ListView1->header()->resizeSection(1, 40);
    ListView1->viewport()->setAcceptDrops(true);
    ListView1->viewport()->installEventFilter(this);
    layout->addWidget(ListView1, 1);
    PopupMenu1 = listMenu(
        ListView1, QStringLiteral("実行結果のクリア(&C)"), [this] { return Button1->isEnabled(); },
        [this] { m_actions->clearTidyResults(); },
        [this] { m_actions->saveTidyResults(); }, [this] { m_actions->copyTidyResults(); });

    BitBtn1 = new QPushButton(QStringLiteral("中止(&A)"), page);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setEnabled(false);
    connect(BitBtn1, &QPushButton::clicked, this, [this] {
        m_actions->abortBatch();
        BitBtn1->setEnabled(false);
    });
    Button1 = new QPushButton(QStringLiteral("結果をクリア"), page);
    Button1->setObjectName(QStringLiteral("Button1"));
    connect(Button1, &QPushButton::clicked, this, [this] { m_actions->clearTidyResults(); });
    layout->addLayout(buttonRow({BitBtn1, Button1}));
    return page;
}

void MainForm::useSelectorFont()
{
    if (m_selectorFontSet || ComboBox1->count() == 0)
        return;
    m_selectorFontSet = true;
    ComboBox1->setFont(WindowFonts::fixedFont());
}

QWidget *MainForm::buildCssPage()
{
    auto *page = new QWidget(PageControl1);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(4, 4, 4, 4);
    CSSList = resultList(page, QStringLiteral("CSSList"));
    CSSList->setModel(&m_actions->cssList());
    CSSList->viewport()->setAcceptDrops(true);
    CSSList->viewport()->installEventFilter(this);
    CSSList->header()->setMinimumSectionSize(30);
    CSSList->header()->resizeSection(0, 70);
    layout->addWidget(CSSList, 1);
    PopupMenu2 = listMenu(
        CSSList, QStringLiteral("結果をクリア(&C)"), [this] { return Button2->isEnabled(); },
        [this] { m_actions->clearCssResults(); },
        [this] { m_actions->saveCssResults(); }, [this] { m_actions->copyCssResults(); });
    Button2 = new QPushButton(QStringLiteral("結果をクリア"), page);
    Button2->setObjectName(QStringLiteral("Button2"));
    connect(Button2, &QPushButton::clicked, this, [this] { m_actions->clearCssResults(); });
    layout->addLayout(buttonRow({Button2}));
    return page;
}

QWidget *MainForm::buildLinkPage()
{
    auto *page = new QWidget(PageControl1);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(4, 4, 4, 4);
    LinkList = resultList(page, QStringLiteral("LinkList"));
    LinkList->setModel(&m_actions->linkList());
    LinkList->viewport()->setAcceptDrops(true);
    LinkList->viewport()->installEventFilter(this);
    connect(LinkList, &QTreeView::doubleClicked, this, [this] {
        const QModelIndex current = LinkList->currentIndex();
        m_actions->linkRowDoubleClicked(current.isValid() ? current.row() : -1);
    });
    LinkList->header()->resizeSection(0, 320);
    layout->addWidget(LinkList, 1);
    BitBtn2 = new QPushButton(QStringLiteral("中止(&A)"), page);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setEnabled(false);
    connect(BitBtn2, &QPushButton::clicked, this, [this] { m_actions->abortLinkCheck(); });
    Button3 = new QPushButton(QStringLiteral("結果をクリア"), page);
    Button3->setObjectName(QStringLiteral("Button3"));
    connect(Button3, &QPushButton::clicked, this, [this] { m_actions->clearLinkResults(); });
    layout->addLayout(buttonRow({BitBtn2, Button3}));
    return page;
}

QWidget *MainForm::buildUploadPage()
{
    m_uploadPage = new QWidget(PageControl1);
    auto *layout = new QVBoxLayout(m_uploadPage);
    layout->setContentsMargins(0, 0, 0, 0);
    return m_uploadPage;
}

QWidget *MainForm::buildTablePage()
{
    m_tablePage = new QWidget(PageControl1);
    auto *layout = new QVBoxLayout(m_tablePage);
    layout->setContentsMargins(4, 4, 4, 4);
    BtnPrev = new QPushButton(QStringLiteral("<<前を表示(&P)"), m_tablePage);
    BtnPrev->setObjectName(QStringLiteral("BtnPrev"));
    BtnPrev->setEnabled(false);
    BtnNext = new QPushButton(QStringLiteral("次を表示(&N)>>"), m_tablePage);
    BtnNext->setObjectName(QStringLiteral("BtnNext"));
    BtnNext->setEnabled(false);
    Label1 = new QLabel(m_tablePage);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto *row = new QHBoxLayout;
    row->addWidget(BtnPrev);
    row->addWidget(BtnNext);
    row->addWidget(Label1, 1);
    m_tablePageWidgets = std::make_unique<TablePageWidgets>(
        BtnPrev, BtnNext, Label1, [this](const QString &path) {
            if (EmbeddedBrowser *browser = webBrowser1())
                browser->navigate(QUrl::fromLocalFile(path));
        });
    m_tableAction = std::make_unique<TableAction>(*this, m_actions->folders(), *m_tablePageWidgets);
    m_tablePageWidgets->connectTo(*m_tableAction);
    layout->addLayout(row);  // the browser goes above this row when made
    return m_tablePage;
}

EmbeddedBrowser *MainForm::makeBrowser(QWidget *page, const QString &name)
{
    QString error;
    EmbeddedBrowser *browser = createEmbeddedBrowser(page, &error);
    auto *layout = static_cast<QVBoxLayout *>(page->layout());
    if (browser == nullptr) {
        auto *label = new QLabel(QStringLiteral("ブラウザを読み込めませんでした。\n") + error, page);
        label->setWordWrap(true);
        layout->insertWidget(0, label, 1);
        return nullptr;
    }
    browser->widget()->setObjectName(name);
    layout->insertWidget(0, browser->widget(), 1);
    return browser;
}

EmbeddedBrowser *MainForm::webBrowser1()
{
    if (m_wb1 == nullptr && !m_wb1Tried) {
        m_wb1Tried = true;
        m_wb1 = makeBrowser(m_tablePage, QStringLiteral("WB1"));
        if (m_wb1 != nullptr) {
            // The table view shows parts of pages from anywhere.
            m_wb1->showStaticPagesOnly();
            m_wb1->navigate(QUrl(QStringLiteral("about:blank")));
        }
    }
    return m_wb1;
}

EmbeddedBrowser *MainForm::webBrowser2()
{
    if (m_wb2 == nullptr && !m_wb2Tried) {
        m_wb2Tried = true;
        m_wb2 = makeBrowser(m_uploadPage, QStringLiteral("WB2"));
        if (m_wb2 != nullptr) {
            // The status text of the page shows in the status bar while it loads.
            m_wb2->setLinkHoveredHandler([this](const QString &url) { statusBar()->showMessage(url); });
            m_wb2->setLoadFinishedHandler([this](bool) { Timer1.start(); });
            m_wb2->navigate(QUrl(QStringLiteral("about:blank")));
        }
    }
    return m_wb2;
}

void MainForm::applyShortcuts(const ShortcutKeys &keys, bool mirrorToMenus)
{
    for (int row = 0; row < ShortcutRowCount; ++row) {
        const ShortcutRow &def = shortcutRow(row);
        const QString name = def.action.toString();
        const quint16 key = keys.value(row);
        const QKeySequence sequence = keySequence(key);
        m_actionKeys.insert(name, key);
        if (QAction *a = action(name))
            a->setShortcut(sequence);
        if (mirrorToMenus) {
            m_menuKeys.insert(name, key);
            if (QAction *entry = menuEntry(def.menuEntry.toString()))
                entry->setShortcut(sequence);
        }
    }
    rebuildKeyDispatch();
}

void MainForm::rebuildKeyDispatch()
{
    qDeleteAll(m_keyShortcuts);
    m_keyShortcuts.clear();
    for (const QHash<QString, quint16> *keys : {&m_actionKeys, &m_menuKeys}) {
        for (const quint16 key : *keys) {
            if (key == 0 || m_keyShortcuts.contains(key) || keySequence(key).isEmpty())
                continue;
            auto *shortcut = new QShortcut(keySequence(key), this);
            shortcut->setContext(Qt::WindowShortcut);
            connect(shortcut, &QShortcut::activated, this, [this, key] { runKey(key); });
            m_keyShortcuts.insert(key, shortcut);
        }
    }
    refreshKeyStates();
}

namespace {

QVector<KeyedCommand> keyedCommands(const MainForm &form, const QHash<QString, quint16> &actionKeys,
                                    const QHash<QString, quint16> &menuKeys)
{
    QVector<KeyedCommand> commands;
    for (const MainActionDef &def : mainActionDefs()) {
        const QAction *a = form.action(def.name);
        commands.append({actionKeys.value(def.name), menuKeys.value(def.name),
                         a != nullptr && a->isEnabled()});
    }
    return commands;
}

}  // namespace

void MainForm::refreshKeyStates()
{
    // A key with no enabled command is left to the focused control, as a
    // disabled action's key was.
    const QVector<KeyedCommand> commands = keyedCommands(*this, m_actionKeys, m_menuKeys);
    for (auto it = m_keyShortcuts.constBegin(); it != m_keyShortcuts.constEnd(); ++it)
        it.value()->setEnabled(commandForKey(commands, it.key()) >= 0);
}

void MainForm::runKey(quint16 key)
{
    const int index = commandForKey(keyedCommands(*this, m_actionKeys, m_menuKeys), key);
    if (index >= 0)
        action(mainActionDefs().at(index).name)->trigger();
}

SettingForm *MainForm::settingForm()
{
    if (m_settingForm == nullptr)
        m_settingForm =
            new SettingForm(m_actions->settings(), m_actions->settingsStore(), this, this);
    return m_settingForm;
}

void MainForm::showSettings()
{
    settingForm()->showSettings();
}

bool MainForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ListView1->viewport() || watched == CSSList->viewport() ||
        watched == LinkList->viewport() || watched == NuList->viewport()) {
        if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
            auto *drag = static_cast<QDragMoveEvent *>(event);
            if (!localFiles(drag->mimeData()).isEmpty()) {
                drag->acceptProposedAction();
                return true;
            }
        } else if (event->type() == QEvent::Drop) {
            auto *drop = static_cast<QDropEvent *>(event);
            const QStringList files = localFiles(drop->mimeData());
            if (!files.isEmpty()) {
                drop->acceptProposedAction();
                // Run after the drop has returned to the file manager.
                QTimer::singleShot(0, this, [this, files, watched] {
                    if (watched == CSSList->viewport())
                        m_actions->dropOnCssList(files);
                    else if (watched == LinkList->viewport())
                        m_actions->dropOnLinkList(files);
                    else if (watched == NuList->viewport()) {
                        if (!m_actions->isRunning())
                            m_actions->nuCheck().checkDocuments(files);
                    }
                    else
                        m_actions->dropOnTidyList(files);
                });
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainForm::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_firstPaint)
        QTimer::singleShot(0, this, &MainForm::firstPaint);
}

void MainForm::firstPaint()
{
    if (!m_firstPaint)
        return;
    repaint();
    m_firstPaint = false;
    if (!m_arguments.isEmpty())
        m_actions->processCommandLine(m_arguments);
}

void MainForm::handleForwarded(const QStringList &arguments, bool raise,
                               std::function<void()> done)
{
    if (isMinimized())
        showNormal();
    if (raise)
        bringToFront();
    repaint();
    m_firstPaint = false;
    m_actions->processForwarded(arguments, std::move(done));
}

void MainForm::raiseFromSecondStart()
{
    bringToFront();
}

void MainForm::closeEvent(QCloseEvent *event)
{
    m_actions->shutdown(QRect(pos(), size()));
    event->accept();
}

void MainForm::showAbout()
{
    AboutForm about(m_actions->settings().tidyPath, this);
    about.exec();
}

// View

void MainForm::showStatus(const QString &text, bool clearLater)
{
    statusBar()->showMessage(text);
    if (clearLater)
        Timer1.start();
}

void MainForm::notice(const QString &text)
{
    QMessageBox::information(this, QStringLiteral("Velmarin"), text);
}

bool MainForm::ask(const QString &text)
{
    return QMessageBox::question(this, QStringLiteral("Velmarin"), text,
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void MainForm::showError(const QString &text)
{
    QMessageBox::critical(this, QStringLiteral("Velmarin"), text);
}

void MainForm::setEnabled(Control control, bool enabled)
{
    auto setCommand = [enabled](QAction *command) {
        if (command != nullptr)
            command->setEnabled(enabled);
    };
    switch (control) {
    case Control::ToolBar1:
        ToolBar1->setEnabled(enabled);
        break;
    case Control::Button1:
        Button1->setEnabled(enabled);
        break;
    case Control::BitBtn1:
        BitBtn1->setEnabled(enabled);
        break;
    case Control::TidyMenuItems:
        setCommand(menuEntry(QStringLiteral("HTMLTidy1")));
        setCommand(menuEntry(QStringLiteral("Folder1")));
        break;
    case Control::TidyToolButtons:
        setCommand(toolButton(QStringLiteral("ToolButton1")));
        setCommand(toolButton(QStringLiteral("ToolButton2")));
        break;
    case Control::Button2:
        Button2->setEnabled(enabled);
        break;
    case Control::Button3:
        Button3->setEnabled(enabled);
        break;
    case Control::BitBtn2:
        BitBtn2->setEnabled(enabled);
        break;
    case Control::LinkCheckAction:
        // The key, the menu entry and the toolbar button all belong to the action.
        setCommand(action(QStringLiteral("LinkCheck")));
        break;
    }
}

void MainForm::showPage(int index)
{
    if (index >= 0 && index < PageControl1->count())
        PageControl1->setCurrentIndex(index);
}

void MainForm::setBusy(bool busy)
{
    if (busy && m_busyDepth++ == 0)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else if (!busy && m_busyDepth > 0 && --m_busyDepth == 0)
        QApplication::restoreOverrideCursor();
}

void MainForm::bringToFront()
{
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}

QString MainForm::qtFilter(const QString &filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts.at(i + 1);
        patterns.replace(u';', u' ');
        // Qt shows the patterns after the name itself; a name that already
        // lists them ("HTMLファイル(*.htm;*.html)") would show them twice.
        QString name = parts.at(i).trimmed();
        const qsizetype open = name.lastIndexOf(u'(');
        if (open >= 0 && name.endsWith(u')') && name.mid(open).contains(u'*'))
            name = name.left(open).trimmed();
        filters << name + QStringLiteral(" (") + patterns + u')';
    }
    return filters.join(QStringLiteral(";;"));
}

QString MainForm::chooseOpenFile(const QString &startDir, const QString &filter)
{
    return QFileDialog::getOpenFileName(this, QString(), startDir, qtFilter(filter));
}

QString MainForm::chooseSaveFile(const QString &startDir, const QString &filter,
                                 const QString &defaultSuffix)
{
    QFileDialog dialog(this, QString(), startDir, qtFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

QString MainForm::chooseFolder(const QString &startDir)
{
    QFileDialog dialog(this, QStringLiteral("フォルダの選択"), startDir);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

void MainForm::setClipboardText(const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
}

void MainForm::showProgress(int done, int total)
{
    ProgressBar1->setVisible(total > 0);
    if (total > 0) {
        ProgressBar1->setRange(0, total);
        ProgressBar1->setValue(done);
    }
}

void MainForm::selectFileEntry(int index)
{
    QSignalBlocker quiet(ComboBox1);
    ComboBox1->setCurrentIndex(index);
}
