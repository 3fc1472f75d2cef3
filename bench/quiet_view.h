#pragma once

#include <cstdio>

#include "core/view.h"

// The benchmarks' view: shows nothing and answers nothing; errors go to
// standard error so a broken run does not pass for a fast one.
class QuietView : public View {
public:
    void showStatus(const QString &, bool) override {}
    void notice(const QString &) override {}
    bool ask(const QString &) override { return false; }
    void showError(const QString &text) override
    {
        std::fprintf(stderr, "error: %s\n", qPrintable(text));
    }
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
};
