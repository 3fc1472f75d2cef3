#pragma once

#include <QDialog>
#include <memory>

struct AppSettings;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class SettingsStore;
class ShortcutTarget;
class TidyOptionControls;
class UploadPage;

// "設定": the one dialog where the user sets up the program. It shows an
// AppSettings, and copies its controls back into it only on OK, which also
// writes the files through the SettingsStore; Cancel leaves both alone. Two
// things act at once, as the user expects from the captions: the Tidy path
// field switches the Tidy commands, and shortcut keys reach the main window
// through the ShortcutTarget as soon as they are changed.
//
// The main window creates it once, after loading the settings.
class SettingForm : public QDialog {
    Q_OBJECT
public:
    SettingForm(AppSettings &settings, SettingsStore &store, ShortcutTarget *shortcuts,
                QWidget *parent = nullptr);
    ~SettingForm() override;

    // Shows the dialog modally and returns its result. The first showing
    // shows what start-up loaded; every later one reads the files again, so
    // nothing of an earlier Cancel is left.
    int showSettings();

    // Asks the Tidy of the path field which options it knows and greys the
    // others. Runs at every showing and when the path has been edited.
    void refreshTidyCapabilities();

    // The control of a Tidy option by option name (nullptr when unknown), its
    // "name :" label (nullptr for check boxes), and whether it is greyed as
    // unknown to the Tidy in use.
    QWidget *optionControl(const QString &optionName) const;
    QLabel *optionLabelWidget(const QString &optionName) const;
    bool isMarkedUnknown(const QString &optionName) const;

    void accept() override;
    void reject() override;

    // Components, named as in the rest of the program; public for the tests.
    QTabWidget *PageControl1 = nullptr;
    QPushButton *BitBtn1 = nullptr;  // OK
    QPushButton *BitBtn2 = nullptr;  // キャンセル
    QLineEdit *fpiEdit = nullptr;
    UploadPage *UploadPanel = nullptr;
    QLineEdit *EditorPathEdit = nullptr;
    QToolButton *EditorPathButton = nullptr;
    QLineEdit *TidyPathEdit = nullptr;
    QToolButton *TidyPathButton = nullptr;
    QCheckBox *chkSubDir = nullptr;
    QCheckBox *chkTidyJa = nullptr;
    QCheckBox *chkIEMnu = nullptr;
    QPushButton *btnAddIE = nullptr;
    QPushButton *btnRemoveIE = nullptr;
    QPushButton *btnAddOP = nullptr;
    QPushButton *btnRemoveOP = nullptr;
    QPushButton *btnAddDesktop = nullptr;     // the desktop's "Open with" entry
    QPushButton *btnRemoveDesktop = nullptr;
    QTreeWidget *lvKey = nullptr;
    QPushButton *btnDefaultKey = nullptr;

protected:
    // The file chooser of the two browse buttons; an empty answer is a cancel.
    virtual QString chooseFile(const QString &title, const QString &filter, const QString &current);
    // The notices of the menu entry buttons.
    virtual void menuNotice(const QString &text);
    // Hints of the controls go to the main window's status bar.
    bool event(QEvent *event) override;

private:
    QWidget *buildVelmarinPage();
    void fillControls();
    void readControls();
    void fillKeyList();
    void editKey();
    void restoreDefaultKeys();
    void browseEditor();
    void browseTidy();
    void wireMenuButtons();
    void fillMenuButtons();

    friend class SettingFormPrompts;

    AppSettings &m_settings;
    SettingsStore &m_store;
    ShortcutTarget *m_shortcuts;
    std::unique_ptr<TidyOptionControls> m_tidy;
    bool m_firstShow = true;
    QString m_tidyPathAtShow;  // what Cancel gives the Tidy path back
    QString m_capabilitiesOf;  // Tidy path whose options are marked
};
