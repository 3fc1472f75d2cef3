#pragma once

#include <QDialog>

class HotKeyEdit;
class QPushButton;

// "ショートカットキーの設定": takes one new shortcut key for a row of the
// settings dialog's shortcut list.
class SettingSCForm : public QDialog {
    Q_OBJECT
public:
    explicit SettingSCForm(QWidget *parent = nullptr);

    // The value of the hot-key field (Windows virtual-key code plus modifier
    // bits). It is Alt+A until set.
    quint16 shortcut() const;
    void setShortcut(quint16 shortcut);

    HotKeyEdit *HotKey1 = nullptr;
    QPushButton *OKButton = nullptr;
    QPushButton *CancelButton = nullptr;
};
