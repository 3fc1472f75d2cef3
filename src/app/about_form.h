#pragma once

#include <QDialog>

// The About box: program name, version and where to reach its makers.
class AboutForm : public QDialog {
    Q_OBJECT
public:
    explicit AboutForm(QWidget *parent = nullptr);
    static QString versionText();
};
