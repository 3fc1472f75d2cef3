#pragma once

#include <QMainWindow>
#include <QStringList>
#include <QTimer>
#include <memory>

#include "app/view.h"

class MainActions;
class ProcessRunner;
class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QPushButton;
class QTabWidget;
class QToolBar;
class QTreeView;
class ReportIconsModel;

// The main window ("Velmarin"): menu, toolbar, the result pages and the
// status bar. It shows what the actions report and forwards the user's
// commands to them; the rules live in MainActions.
class MainForm : public QMainWindow, public View {
    Q_OBJECT
public:
    explicit MainForm(const QStringList &arguments, ProcessRunner *runner = nullptr,
                      QWidget *parent = nullptr);
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
    void setClipboardText(const QString &text) override;

    // Components, named as in the rest of the program; public for the tests.
    QTabWidget *PageControl1 = nullptr;
    QComboBox *ComboBox1 = nullptr;
    QTreeView *ListView1 = nullptr;
    QPushButton *Button1 = nullptr;
    QPushButton *BitBtn1 = nullptr;
    QToolBar *ToolBar1 = nullptr;
    QMenu *PopupMenu1 = nullptr;
    QTimer Timer1;
    QAction *HTMLTidy1 = nullptr;    // menu entry of the Tidy run
    QAction *ToolButton1 = nullptr;  // toolbar button of the Tidy run
    QAction *About1 = nullptr;

    // Converts a "description|pattern|..." filter to Qt's form.
    static QString qtFilter(const QString &filter);

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildMenus();
    void buildPages();
    void firstPaint();
    void showAbout();

    std::unique_ptr<ProcessRunner> m_ownRunner;
    std::unique_ptr<MainActions> m_actions;
    ReportIconsModel *m_icons = nullptr;
    QStringList m_arguments;
    bool m_firstPaint = true;
    int m_busyDepth = 0;
};
