#pragma once

#include <QDialog>
#include <QVector>
#include <functional>

#include "fetch/url_history.h"

class QCheckBox;
class QComboBox;

// The URL dialog ("URLを入力"): an address, typed or taken from the history
// of URLList.txt, and the checks to run on it. It closes only after an
// accepted OK or Cancel.
class TOpenURLForm : public QDialog {
    Q_OBJECT
public:
    explicit TOpenURLForm(QWidget *parent = nullptr);
    ~TOpenURLForm() override;

    QString acceptedUrl() const { return m_accepted; }
    // The seven boxes in table order.
    QVector<bool> tickedChecks() const;

    // How a refusal is shown; a message box unless replaced (the tests).
    void setNoticeHandler(std::function<void(const QString &)> notice)
    {
        m_notice = std::move(notice);
    }

    QComboBox *ComboBox1 = nullptr;
    QVector<QCheckBox *> CheckBoxes;  // CheckBox1 … CheckBox7

public Q_SLOTS:
    void okClick();
    void cancelClick();

protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    UrlHistory m_history;
    QString m_accepted;
    bool m_canClose = true;
    std::function<void(const QString &)> m_notice;
};
