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
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeView>
#include <QVBoxLayout>

#include "app/about_form.h"
#include "app/main_actions.h"
#include "app/report_icons_gui.h"
#include "app/window_placement.h"
#include "platform/ini_file.h"
#include "platform/process_runner.h"
#include "platform/program_folder.h"

namespace {

QFont windowFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("Noto Sans CJK JP"),
                      QStringLiteral("Noto Sans JP")});
    font.setPixelSize(12);
    return font;
}

QFont fixedFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("Noto Sans Mono CJK JP"),
                      QStringLiteral("Noto Sans Mono")});
    font.setPixelSize(12);
    font.setStyleHint(QFont::Monospace);
    return font;
}

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

}  // namespace

MainForm::MainForm(const QStringList &arguments, ProcessRunner *runner, QWidget *parent)
    : QMainWindow(parent), m_arguments(arguments)
{
    if (runner == nullptr) {
        m_ownRunner = std::make_unique<ProcessRunner>();
        runner = m_ownRunner.get();
    }
    setWindowTitle(QStringLiteral("Velmarin"));
    setFont(windowFont());
    resize(WindowPlacement::kDesignedSize);
    setMinimumSize(WindowPlacement::kMinimumSize);

    m_actions = std::make_unique<MainActions>(*this, *runner);
    buildMenus();
    buildPages();

    Timer1.setInterval(5000);
    Timer1.setSingleShot(true);
    connect(&Timer1, &QTimer::timeout, this, [this] { statusBar()->clearMessage(); });

    // The settings come first: loading them sets the Tidy commands' state.
    m_actions->start();

    m_firstPaint = true;
    PageControl1->setCurrentIndex(0);
    QScreen *screen = QGuiApplication::primaryScreen();
    const QSize workArea = screen ? screen->availableGeometry().size() : QSize(1024, 768);
    const QRect placement =
        WindowPlacement::load(IniFile(ProgramFolder::iniPath()), workArea);
    move(placement.topLeft());
    resize(placement.size());
}

MainForm::~MainForm() = default;

void MainForm::buildMenus()
{
    QMenu *check = menuBar()->addMenu(QStringLiteral("文法チェック(&C)"));
    QMenu *syntax = check->addMenu(QStringLiteral("文法チェック"));
    HTMLTidy1 = syntax->addAction(QStringLiteral("&HTML Tidy"));
    HTMLTidy1->setObjectName(QStringLiteral("HTMLTidy1"));
    HTMLTidy1->setStatusTip(QStringLiteral("HTML Tidyを実行します。"));
    HTMLTidy1->setShortcut(QKeySequence(Qt::Key_F9));
    connect(HTMLTidy1, &QAction::triggered, this, [this] { m_actions->tidyAction(); });

    QMenu *help = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
    About1 = help->addAction(QStringLiteral("Velmarinについて(&A)"));
    connect(About1, &QAction::triggered, this, &MainForm::showAbout);

    ToolBar1 = addToolBar(QStringLiteral("ToolBar1"));
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    ToolButton1 = ToolBar1->addAction(style()->standardIcon(QStyle::SP_FileDialogDetailedView),
                                      QStringLiteral("HTML Tidy"));
    ToolButton1->setObjectName(QStringLiteral("ToolButton1"));
    ToolButton1->setStatusTip(QStringLiteral("HTML Tidyを実行します。"));
    ToolButton1->setToolTip(QStringLiteral("HTML Tidy"));
    connect(ToolButton1, &QAction::triggered, this, [this] { m_actions->tidyAction(); });
}

void MainForm::buildPages()
{
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setTabPosition(QTabWidget::South);
    setCentralWidget(PageControl1);
    connect(PageControl1, &QTabWidget::currentChanged, this, [this] {
        statusBar()->clearMessage();
        Timer1.stop();
    });

    auto *page = new QWidget(PageControl1);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(4, 4, 4, 4);

    ComboBox1 = new QComboBox(page);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setFont(fixedFont());
    ComboBox1->setMaxVisibleItems(10);
    ComboBox1->setModel(&m_actions->fileSelector());
    layout->addWidget(ComboBox1);

    ListView1 = new QTreeView(page);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    m_icons = new ReportIconsModel(this);
    m_icons->setSourceModel(&m_actions->tidyList());
    ListView1->setModel(m_icons);
    ListView1->setRootIsDecorated(false);
    ListView1->setUniformRowHeights(true);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setAllColumnsShowFocus(true);
    ListView1->header()->setStretchLastSection(true);
    ListView1->header()->resizeSection(0, 60);
    ListView1->header()->resizeSection(1, 40);
    ListView1->setContextMenuPolicy(Qt::CustomContextMenu);
    ListView1->setAcceptDrops(true);
    ListView1->viewport()->setAcceptDrops(true);
    ListView1->viewport()->installEventFilter(this);
    layout->addWidget(ListView1, 1);

    PopupMenu1 = new QMenu(this);
    QAction *clear = PopupMenu1->addAction(QStringLiteral("実行結果のクリア(&C)"));
    PopupMenu1->addSeparator();
    QAction *save = PopupMenu1->addAction(QStringLiteral("結果を保存(&S)"));
    QAction *copy = PopupMenu1->addAction(QStringLiteral("結果をクリップボードへ(&B)"));
    connect(clear, &QAction::triggered, this, [this] { m_actions->clearTidyResults(); });
    connect(save, &QAction::triggered, this, [this] { m_actions->saveTidyResults(); });
    connect(copy, &QAction::triggered, this, [this] { m_actions->copyTidyResults(); });
    connect(PopupMenu1, &QMenu::aboutToShow, this, [this, clear, save, copy] {
        const bool rows = !m_actions->tidyResultsEmpty();
        clear->setEnabled(rows);
        save->setEnabled(rows);
        copy->setEnabled(rows);
    });
    connect(ListView1, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        PopupMenu1->popup(ListView1->viewport()->mapToGlobal(pos));
    });

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    BitBtn1 = new QPushButton(QStringLiteral("中止(&A)"), page);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setEnabled(false);
    Button1 = new QPushButton(QStringLiteral("結果をクリア"), page);
    Button1->setObjectName(QStringLiteral("Button1"));
    connect(Button1, &QPushButton::clicked, this, [this] { m_actions->clearTidyResults(); });
    buttons->addWidget(BitBtn1);
    buttons->addWidget(Button1);
    layout->addLayout(buttons);

    PageControl1->addTab(page, QStringLiteral("HTML Tidy"));
    statusBar()->setSizeGripEnabled(true);
}

bool MainForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ListView1->viewport()) {
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
                QTimer::singleShot(0, this, [this, files] { m_actions->dropOnTidyList(files); });
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
    AboutForm about(this);
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
        HTMLTidy1->setEnabled(enabled);
        break;
    case Control::TidyToolButtons:
        ToolButton1->setEnabled(enabled);
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
        filters << parts.at(i) + QStringLiteral(" (") + patterns + u')';
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

void MainForm::setClipboardText(const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
}
