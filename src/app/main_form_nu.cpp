// The main window's part of the HTML5 check: its page, its menu (under
// 文法チェック and on its toolbar button) and their wiring.
#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QInputDialog>
#include <QMenu>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

#include "app/main_actions.h"
#include "app/main_form.h"
#include "app/report_icons_gui.h"
#include "app/toolbar_icons_gui.h"
#include "core/window_fonts_gui.h"

namespace {

const QString kNuHint = QStringLiteral("Nu Html CheckerでHTML5の文書をこのコンピュータの中でチェックします。");

}  // namespace

QWidget *MainForm::buildNuPage()
{
    auto *page = new QWidget(PageControl1);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(4, 4, 4, 4);
    NuCheck &nu = m_actions->nuCheck();

    ComboBox2 = new QComboBox(page);
    ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
    ComboBox2->setMaxVisibleItems(10);
    ComboBox2->setModel(&m_actions->nuSelector());
    connect(&m_actions->nuSelector(), &QAbstractItemModel::modelReset, ComboBox2, [this] {
        if (ComboBox2->count() > 0)
            ComboBox2->setFont(WindowFonts::fixedFont());
    });
    connect(ComboBox2, &QComboBox::activated, this,
            [this](int index) { m_actions->nuCheck().showEntry(index); });
    layout->addWidget(ComboBox2);

    NuList = resultList(page, QStringLiteral("NuList"));
    auto *icons = new ReportIconsModel(this);
    icons->setSourceModel(&m_actions->nuList());
    NuList->setModel(icons);
    NuList->header()->resizeSection(0, 60);
    NuList->header()->resizeSection(1, 40);
    NuList->viewport()->setAcceptDrops(true);
    NuList->viewport()->installEventFilter(this);
    layout->addWidget(NuList, 1);
    PopupMenu3 = listMenu(
        NuList, QStringLiteral("実行結果のクリア(&C)"), [this] { return Button4->isEnabled(); },
        [this] { m_actions->clearNuResults(); }, [this] { m_actions->saveNuResults(); },
        [this] { m_actions->copyNuResults(); });

    BitBtn3 = new QPushButton(QStringLiteral("中止(&A)"), page);
    BitBtn3->setObjectName(QStringLiteral("BitBtn3"));
    BitBtn3->setEnabled(false);
    connect(BitBtn3, &QPushButton::clicked, this, [this] { m_actions->nuCheck().abort(); });
    Button4 = new QPushButton(QStringLiteral("結果をクリア"), page);
    Button4->setObjectName(QStringLiteral("Button4"));
    connect(Button4, &QPushButton::clicked, this, [this] { m_actions->clearNuResults(); });
    auto *row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(BitBtn3);
    row->addWidget(Button4);
    layout->addLayout(row);

    connect(&nu, &NuCheck::runningChanged, this, [this](bool running) {
        BitBtn3->setEnabled(running);
        Button4->setEnabled(!running);
        action(QStringLiteral("Nu"))->setEnabled(!running);
        if (NuMenu != nullptr)
            NuMenu->menuAction()->setEnabled(!running);
        if (NuButton != nullptr)
            NuButton->setEnabled(!running);
    });
    return page;
}

QMenu *MainForm::nuMenu()
{
    if (NuMenu != nullptr)
        return NuMenu;
    NuMenu = new QMenu(QStringLiteral("HTML5チェック(ローカル)"), this);
    NuMenu->menuAction()->setObjectName(QStringLiteral("Nu1"));
    NuMenu->menuAction()->setStatusTip(kNuHint);
    m_menuEntries.insert(QStringLiteral("Nu1"), NuMenu->menuAction());
    const auto add = [this](const QString &name, const QString &caption, const QString &hint,
                            const std::function<void()> &run) {
        QAction *entry = NuMenu->addAction(caption);
        entry->setObjectName(name);
        entry->setShortcutContext(Qt::WidgetShortcut);
        entry->setStatusTip(hint);
        connect(entry, &QAction::triggered, this, [this, run] {
            // Another check that waits in its own loop keeps this one out.
            if (!m_actions->isRunning())
                run();
        });
        m_menuEntries.insert(name, entry);
    };
    QAction *file = NuMenu->addAction(QStringLiteral("ファイル(&F)..."));
    file->setObjectName(QStringLiteral("NuFile1"));
    file->setShortcutContext(Qt::WidgetShortcut);
    file->setStatusTip(QStringLiteral("Nu Html CheckerでHTMLファイルをチェックします。"));
    connect(file, &QAction::triggered, action(QStringLiteral("Nu")), &QAction::trigger);
    m_menuEntries.insert(file->objectName(), file);
    add(QStringLiteral("NuFolder1"), QStringLiteral("フォルダ(&D)..."),
        QStringLiteral("Nu Html Checkerで指定フォルダのHTMLをまとめてチェックします。"),
        [this] { m_actions->nuCheck().folderExecute(); });
    add(QStringLiteral("NuUrl1"), QStringLiteral("&URL..."),
        QStringLiteral("指定されたURLの文書を取得してNu Html Checkerでチェックします。"), [this] {
            bool ok = false;
            const QString url = QInputDialog::getText(
                this, QStringLiteral("HTML5チェック(ローカル)"), QStringLiteral("URL:"),
                QLineEdit::Normal, QStringLiteral("http://"), &ok).trimmed();
            if (ok && !url.isEmpty() && url != QLatin1String("http://"))
                m_actions->nuCheck().checkDocuments({url});
        });
    NuMenu->addSeparator();
    const struct {
        const char16_t *name, *caption, *browser;
        CaptureBrowser capture;
    } pages[] = {
        {u"NuIE1", u"&Internet Explorerのページ", u"IE", CaptureBrowser::InternetExplorer},
        {u"NuOpera1", u"&Operaのページ", u"Opera", CaptureBrowser::Opera},
        {u"NuMozilla1", u"&Mozillaのページ", u"Mozilla", CaptureBrowser::Mozilla},
        {u"NuNC1", u"&Netscape Communicatorのページ", u"Netscape", CaptureBrowser::Netscape},
    };
    for (const auto &p : pages) {
        const CaptureBrowser browser = p.capture;
        add(QString::fromUtf16(p.name), QString::fromUtf16(p.caption),
            QString::fromUtf16(p.browser) +
                QStringLiteral("に表示されているHTMLをNu Html Checkerでチェックします。"),
            [this, browser] { m_actions->nuCaptureAction(browser); });
    }
    return NuMenu;
}

QAction *MainForm::addNuToolButton()
{
    NuButton = new QToolButton(ToolBar1);
    NuButton->setObjectName(QStringLiteral("NuButton"));
    NuButton->setIcon(glyphIcon(QStringLiteral("H5"), QColor(0x2f, 0x6f, 0xb0)));
    NuButton->setToolTip(QStringLiteral("HTML5チェック(ローカル)"));
    NuButton->setStatusTip(kNuHint);
    NuButton->setPopupMode(QToolButton::MenuButtonPopup);
    NuButton->setMenu(nuMenu());
    connect(NuButton, &QToolButton::clicked, action(QStringLiteral("Nu")), &QAction::trigger);
    return ToolBar1->addWidget(NuButton);
}
