#pragma once

#include <QDialog>
#include <QStringList>

// The About box: the program's version and licence, where its manual is and
// which Tidy it runs.
class AboutForm : public QDialog {
    Q_OBJECT
public:
    explicit AboutForm(const QString &tidyPath, QWidget *parent = nullptr);
    static QString versionText();
    // The lines below the version, in their order.
    static QStringList infoLines(const QString &tidyPath);
};
