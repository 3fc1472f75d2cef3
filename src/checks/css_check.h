#pragma once

#include <QString>
#include <QStringList>

#include "core/message_list_model.h"

class FolderMemory;
class MessageListModel;
class ProcessRunner;
class View;

// The CSS check: a CSS validator installed as a Java program checks a style
// sheet file or a URL; what it writes to its two streams lands in css_out.txt
// and css_err.txt in the working folder and is shown in the CSS list.
class CssCheck {
public:
    // The validator's command-line class, and the name today's jars give it.
    static const QString kValidatorClass;     // org.w3c.css.css.StyleSheetCom
    static const QString kCurrentJarClass;    // org.w3c.css.css.CssValidator
    // A jar of this name in the program folder goes on the class path.
    static const QString kJarName;            // css-validator.jar

    CssCheck(View &view, MessageListModel &list, ProcessRunner &runner, FolderMemory &folders);

    // The CSS action (F11): asks for a style sheet and checks it.
    void cssExecute();
    // Files dropped on the CSS list: the first one is checked.
    void fileDrop(const QStringList &files);
    // A file path or URL from the command line or the URL dialog.
    void checkCssTarget(const QString &target);

    // Runs the validator on the target; false when a local target is missing
    // or no validator was found (the list then says so).
    // Throws FunctionFailure when Java cannot be started.
    bool runCssValidator(const QString &target, bool isUrl);
    // Whether the last run got a report from the validator: false when the
    // target was missing or Java failed without writing one (no validator
    // class, no Java runtime to speak of).
    bool lastChecked() const { return m_lastChecked; }
    // Fills the list from the working files and sets the status line.
    void loadCssReport();

    static QString outPath();  // css_out.txt
    static QString errPath();  // css_err.txt

    // One report line as a list row. A line beginning "行番号" is cut at byte
    // positions of its Shift_JIS form, whatever encoding the validator wrote.
    static MessageListModel::Row reportRow(const QString &line);

private:
    void check(const QString &target, bool isUrl);

    View &m_view;
    MessageListModel &m_list;
    ProcessRunner &m_runner;
    FolderMemory &m_folders;
    bool m_lastChecked = false;
};
