#pragma once

#include <QStringList>
#include <optional>
#include <string>

#include "integration/browser_menu_state.h"
#include "integration/menu_entry_prompts.h"

// Records what adding or removing a menu entry tells the user; its file
// choosers get `answers` in order, then are cancelled.
struct RecordingPrompts : MenuEntryPrompts {
    void notice(const QString &text) override { notices << text; }
    QString chooseFile(const QString &filter) override
    {
        filters << filter;
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
    QStringList notices;
    QStringList filters;
    QStringList answers;
};

// The buttons after an add or remove: "add/-", "-/remove", "keep", or "stays".
inline std::string states(const std::optional<MenuButtonStates> &s)
{
    if (!s)
        return "stays";
    if (s->keep)
        return "keep";
    return std::string(s->addEnabled ? "add" : "-") + "/" + (s->removeEnabled ? "remove" : "-");
}
