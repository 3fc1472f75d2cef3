#pragma once

#include <QString>
#include <QStringList>

#include "fetch/file_url.h"

// What the command line can ask for. The window's actions implement it;
// the tests record the calls.
class CommandLineActions {
public:
    enum Validator { MarkupValidator = 0, HtmlLint = 1, WdgValidator = 2, CssValidator = 3 };

    virtual ~CommandLineActions() = default;

    // Presets the upload choices from a local file's declarations.
    virtual void presetUploadOptions(const QString &file, bool setCharset, bool setDocType) = 0;
    virtual void sendToValidator(Validator validator, const QString &target,
                                 bool separateWindow) = 0;
    // The -ie and -op switches: a Tidy run shown in that browser when the
    // settings ask for it ("ブラウザで開く"); otherwise a numbered entry.
    virtual bool showsInBrowser() const = 0;
    virtual void tidyInBrowser(const QString &target, int browserIndex) = 0;
    virtual void checkCss(const QString &target) = 0;
    virtual void checkLinks(const QString &target) = 0;
    // A numbered Tidy run; true when the entry was added to the file selector.
    virtual bool tidyEntry(const QString &target, int entry) = 0;

    // The file selector of the multi-document runs.
    virtual void clearFileSelector() = 0;
    virtual int fileSelectorCount() const = 0;
    virtual void showEntryReport(int entry) = 0;

    // Whether a name is an existing file (the tests answer from a table).
    virtual bool fileExists(const QString &path) const = 0;
    // Arguments left over that named no file, even joined together.
    virtual void unresolved(const QString &) {}
    // Documents of a protocol the program cannot fetch (ftp, wais, gopher).
    virtual void refused(const QString &) {}
};

// Browser indexes of the -ie and -op switches.
constexpr int kInternetExplorer = 0;
constexpr int kOpera = 2;

// Interprets an ordered list of arguments: switches choose checks, the
// documents after them get the chosen checks (the Tidy check by default).
// Pieces of a path that a caller passed unquoted are put back together.
void processCommandLine(const QStringList &arguments, CommandLineActions &actions);

// Whether an argument is one of the switches ("-tidy", "/css", ...).
bool isCommandLineSwitch(const QString &argument);

// The command line with its relative documents made absolute against
// `folder`, so that it means the same in a process whose current folder is
// another: pieces of a relative path passed unquoted become one argument.
// Switches, web addresses, file addresses and absolute paths stay as they
// are. With onlyDocuments no argument is taken for a switch ("-x.html"
// after "--" in the console program).
QStringList absoluteDocuments(const QStringList &arguments, const QString &folder,
                              bool onlyDocuments = false);
