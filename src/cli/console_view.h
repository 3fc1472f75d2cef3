#pragma once

#include "core/view.h"

// The console program's view: messages go to standard error, questions are
// answered "no" (nobody is there to answer them), choosers return nothing.
class ConsoleView : public View {
public:
    void showStatus(const QString &text, bool clearLater) override;
    void notice(const QString &text) override;
    bool ask(const QString &text) override;
    void showError(const QString &text) override;
    void setEnabled(Control, bool) override {}
    void showPage(int) override {}
    void setBusy(bool) override {}
    void bringToFront() override {}
    QString chooseOpenFile(const QString &, const QString &) override { return {}; }
    QString chooseSaveFile(const QString &, const QString &, const QString &) override
    {
        return {};
    }
    QString chooseFolder(const QString &) override { return {}; }
    void setClipboardText(const QString &) override {}
    void showProgress(int, int) override {}
    void selectFileEntry(int) override {}

    int errorCount() const { return m_errors; }

private:
    int m_errors = 0;
};

// Writes text to standard error (UTF-8, LF).
void printError(const QString &text);
// Writes text to standard output.
void printOut(const QString &text);
