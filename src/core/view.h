#pragma once

#include <QString>
#include <QStringList>

class ReportListModel;
class QStringListModel;

// Controls whose enabled state the actions switch. The names are those of
// the main window's components.
enum class Control {
    ToolBar1,         // the whole toolbar
    Button1,          // "結果をクリア" of the HTML Tidy page
    BitBtn1,          // "中止(&A)" of the HTML Tidy page (folder batch only)
    TidyMenuItems,    // menu entries "&HTML Tidy" and "フォルダ一括(&F)"
    TidyToolButtons,  // toolbar buttons of the Tidy run and the folder batch
    Button2,          // "結果をクリア" of the CSS page
    Button3,          // "結果をクリア" of the Link page
    BitBtn2,          // "中止(&A)" of the Link page
    LinkCheckAction,  // the link check's menu entry, toolbar button and key
};

// Everything the actions show to the user or ask of the user. The window
// implements it with widgets, the console program with its streams, the tests
// with a recorder. The result lists are models owned by the core; a view only
// displays them.
class View {
public:
    virtual ~View() = default;

    // Status line. A message shown with clearLater is removed after 5 seconds.
    virtual void showStatus(const QString &text, bool clearLater) = 0;

    // A notice with an OK button.
    virtual void notice(const QString &text) = 0;
    // A question with Yes and No; true for Yes.
    virtual bool ask(const QString &text) = 0;
    // The general error display ("Function failure (...)" and the like).
    virtual void showError(const QString &text) = 0;

    virtual void setEnabled(Control control, bool enabled) = 0;
    virtual void showPage(int index) = 0;
    // Hourglass while the program waits for an outside process.
    virtual void setBusy(bool busy) = 0;
    // Brings the main window to the front, restoring it when minimised.
    virtual void bringToFront() = 0;

    // File choosers. An empty result means the user cancelled.
    virtual QString chooseOpenFile(const QString &startDir, const QString &filter) = 0;
    virtual QString chooseSaveFile(const QString &startDir, const QString &filter,
                                   const QString &defaultSuffix) = 0;

    // Folder chooser; an empty result means the user cancelled.
    virtual QString chooseFolder(const QString &startDir) = 0;

    virtual void setClipboardText(const QString &text) = 0;

    // Progress of a long run in the status bar; total 0 hides it.
    virtual void showProgress(int done, int total) = 0;
    // Makes entry `index` of the file selector the current one.
    virtual void selectFileEntry(int index) = 0;
};
