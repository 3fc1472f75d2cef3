#pragma once

#include <QHash>
#include <QMainWindow>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <memory>

#include "core/view.h"
#include "integration/shortcut_target.h"

class EmbeddedBrowser;
class MainActions;
class MainFormUploadBrowsers;
class BrowserBridge;
class ProcessRunner;
class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QProgressBar;
class QShortcut;
class QPushButton;
class QTabWidget;
class QToolBar;
class QToolButton;
class QTreeView;
class QVBoxLayout;
class ReportIconsModel;
class SettingForm;
class TableAction;
class TablePageWidgets;

// The main window ("Velmarin"): menu, toolbar, the five result pages and the
// status bar. It shows what the actions report and hands the user's commands
// to them; the rules live in MainActions.
class MainForm : public QMainWindow, public View, public ShortcutTarget {
    Q_OBJECT
public:
    // Without a runner or browsers the window makes its own (the tests pass
    // recording ones).
    explicit MainForm(const QStringList &arguments, ProcessRunner *runner = nullptr,
                      QWidget *parent = nullptr, BrowserBridge *browsers = nullptr);
    ~MainForm() override;

    MainActions &actions() { return *m_actions; }

    // A command line handed over by a second start.
    void handleForwarded(const QStringList &arguments, bool raise, std::function<void()> done);
    void raiseFromSecondStart();

    // View
    void showStatus(const QString &text, bool clearLater) override;
    void notice(const QString &text) override;
    bool ask(const QString &text) override;
    void showError(const QString &text) override;
    void setEnabled(Control control, bool enabled) override;
    void showPage(int index) override;
    void setBusy(bool busy) override;
    void bringToFront() override;
    QString chooseOpenFile(const QString &startDir, const QString &filter) override;
    QString chooseSaveFile(const QString &startDir, const QString &filter,
                           const QString &defaultSuffix) override;
    QString chooseFolder(const QString &startDir) override;
    void setClipboardText(const QString &text) override;
    void showProgress(int done, int total) override;
    void selectFileEntry(int index) override;

    // ShortcutTarget
    void applyShortcuts(const ShortcutKeys &keys, bool mirrorToMenus) override;

    // The commands by action name ("Tidy", "Folder", … "OpenURL1", "ChmOpen"),
    // their menu entries by component name ("HTMLTidy1", "Folder1", …) and
    // toolbar buttons ("ToolButton1", …).
    QAction *action(const QString &name) const { return m_actionsByName.value(name); }
    QAction *menuEntry(const QString &name) const { return m_menuEntries.value(name); }
    QAction *toolButton(const QString &name) const { return m_toolButtons.value(name); }

    // The embedded browsers, created when their page is first shown; nullptr
    // when the browser engine cannot be loaded (the page then says why).
    EmbeddedBrowser *webBrowser1();  // WB1, the table view page
    EmbeddedBrowser *webBrowser2();  // WB2, the upload page
    bool webBrowsersCreated() const { return m_wb1 != nullptr || m_wb2 != nullptr; }

    // Components, named as in the rest of the program; public for the tests.
    QTabWidget *PageControl1 = nullptr;
    QComboBox *ComboBox1 = nullptr;
    QTreeView *ListView1 = nullptr;
    QPushButton *Button1 = nullptr;
    QPushButton *BitBtn1 = nullptr;
    QTreeView *CSSList = nullptr;
    QPushButton *Button2 = nullptr;
    QTreeView *LinkList = nullptr;
    QPushButton *BitBtn2 = nullptr;
    QPushButton *Button3 = nullptr;
    // The "HTML5" page: document selector, list, abort and clear buttons, and
    // the check's menu, also on its toolbar button.
    QComboBox *ComboBox2 = nullptr;
    QTreeView *NuList = nullptr;
    QPushButton *BitBtn3 = nullptr;
    QPushButton *Button4 = nullptr;
    QMenu *PopupMenu3 = nullptr;
    QMenu *NuMenu = nullptr;
    QToolButton *NuButton = nullptr;
    QPushButton *BtnPrev = nullptr;  // "<<前を表示(&P)"
    QPushButton *BtnNext = nullptr;  // "次を表示(&N)>>"
    QLabel *Label1 = nullptr;        // the table shown, "2/5"
    TableAction &tableAction() { return *m_tableAction; }
    QToolBar *ToolBar1 = nullptr;
    QToolButton *UploadButton = nullptr;
    QMenu *PopupMenu1 = nullptr;
    QMenu *PopupMenu2 = nullptr;
    QProgressBar *ProgressBar1 = nullptr;  // in the status bar, during long runs
    QTimer Timer1;
    SettingForm *settingForm();  // made when first asked for

    // Converts a "description|pattern|..." filter to Qt's form.
    static QString qtFilter(const QString &filter);

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildActions();
    void buildMenus();
    void buildToolBar();
    void buildPages();
    QWidget *buildTidyPage();
    QWidget *buildCssPage();
    QWidget *buildLinkPage();
    QWidget *buildUploadPage();
    QWidget *buildTablePage();
    QWidget *buildNuPage();  // main_form_nu.cpp
    QMenu *nuMenu();
    QAction *addNuToolButton();
    static QTreeView *resultList(QWidget *parent, const QString &name);
    QMenu *listMenu(QTreeView *list, const QString &clearCaption,
                    const std::function<bool()> &clearAllowed, const std::function<void()> &clear,
                    const std::function<void()> &save, const std::function<void()> &copy);
    void firstPaint();
    void useSelectorFont();
    void showAbout();
    void showSettings();
    void routeAction(const QString &name);
    void openUrl1();  // the URL dialog (Ctrl+U)
    EmbeddedBrowser *makeBrowser(QWidget *page, const QString &name);
    // One window-wide shortcut per key in use runs the command it belongs to.
    void rebuildKeyDispatch();
    void refreshKeyStates();
    void runKey(quint16 key);

    std::unique_ptr<ProcessRunner> m_ownRunner;
    std::unique_ptr<BrowserBridge> m_ownBrowsers;
    std::unique_ptr<MainActions> m_actions;
    std::unique_ptr<MainFormUploadBrowsers> m_uploadBrowsers;  // goes before the actions
    SettingForm *m_settingForm = nullptr;
    ReportIconsModel *m_icons = nullptr;
    QHash<QString, QAction *> m_actionsByName;
    QHash<QString, QAction *> m_menuEntries;
    QHash<QString, QAction *> m_toolButtons;
    QHash<QString, quint16> m_actionKeys;  // by action name
    QHash<QString, quint16> m_menuKeys;    // the copies shown by the menu entries
    QHash<quint16, QShortcut *> m_keyShortcuts;
    QWidget *m_uploadPage = nullptr;
    QWidget *m_tablePage = nullptr;
    EmbeddedBrowser *m_wb1 = nullptr;
    EmbeddedBrowser *m_wb2 = nullptr;
    std::unique_ptr<TablePageWidgets> m_tablePageWidgets;
    std::unique_ptr<TableAction> m_tableAction;
    bool m_wb1Tried = false;  // a browser that failed to load is not tried again
    bool m_wb2Tried = false;
    QStringList m_arguments;
    bool m_firstPaint = true;
    bool m_selectorFontSet = false;
    int m_busyDepth = 0;
};
