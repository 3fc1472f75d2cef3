#pragma once

#include <QString>
#include <QVector>

// The main window's commands: action name, caption, status hint, and the
// menu entry and toolbar button that run it.
struct MainActionDef {
    QString name;        // "Tidy"
    QString caption;     // "Tidyの実行"
    QString hint;        // shown in the status bar; may be empty
};

struct MenuEntryDef {
    QString name;      // component name, "HTMLTidy1"
    QString caption;   // "&HTML Tidy"
    QString hint;
    QString action;    // the action it runs
};

struct ToolButtonDef {
    QString name;     // "ToolButton1"
    QString action;
    QString glyph;    // text drawn on the button's icon
    QString hint;
    bool separatorBefore;
};

const QVector<MainActionDef> &mainActionDefs();
const QVector<MenuEntryDef> &checkMenuEntries(const QString &submenu);
const QVector<ToolButtonDef> &toolButtonDefs();
