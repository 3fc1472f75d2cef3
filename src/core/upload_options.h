#pragma once

#include <QString>
#include <QStringList>

// What the uploads to the four online validators send along. Lists hold the
// visible item texts; the settings file stores the selected text itself.
struct UploadOptions {
    // Markup Validator
    QString markupCharset;
    QString markupType;
    bool showSource = false;
    bool showParseTree = false;
    bool showOutline = false;
    bool excludeAttributes = false;
    bool validateErrorPages = false;
    bool verbose = true;
    // Another HTML Lint
    bool lintNumView = true;
    bool lintAllCheck = false;
    bool lintNoReligious = false;
    bool lintNoAccess = false;
    int lintTextBrowser = 0;  // 0 "なし", 1 "lynx", 2 "w3m"
    // WDG HTML Validator
    QString wdgCharset;
    bool wdgWarning = true;
    bool wdgShowInput = true;
    // CSS Validator
    QString cssWarning;
    QString cssProfile;
    QString cssMedium;

    // The values the settings dialog shows when it is created.
    static UploadOptions atCreation();
};

namespace UploadLists {
const QStringList &markupCharsets();
const QStringList &markupTypes();
const QStringList &wdgCharsets();
const QStringList &cssWarnings();
const QStringList &cssProfiles();
const QStringList &cssMedia();
const QStringList &textBrowsers();

// The stored text when it names an item of the list, else the fallback.
QString pick(const QStringList &items, const QString &stored, const QString &fallback);
}  // namespace UploadLists
