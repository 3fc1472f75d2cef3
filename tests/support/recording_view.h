#pragma once

#include <QList>
#include <functional>
#include <QMap>
#include <QString>
#include <QStringList>

#include "core/view.h"

// A view that records what the actions show and answers questions as told.
class RecordingView : public View {
public:
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

    // Called after each status text, so a test can act at that moment.
    std::function<void(const QString &)> onStatus;

    // What happened, in order, as short texts ("status: ...", "notice: ...").
    QStringList events;
    QString lastStatus;
    bool lastStatusClears = false;
    QStringList notices;
    QStringList questions;
    QStringList errors;
    QMap<Control, bool> enabled;
    int page = -1;
    bool busy = false;
    int broughtToFront = 0;
    QString clipboard;

    // Answers given, in order; when they run out the answer is no.
    QList<bool> answers;
    QString openFileAnswer;
    QString saveFileAnswer;
    QString lastOpenStartDir;
    QString lastFilter;
    QString folderAnswer;
    // Every progress shown, as "done/total".
    QStringList progress;
};
