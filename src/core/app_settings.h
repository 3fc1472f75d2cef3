#pragma once

#include <QString>

#include "core/upload_options.h"
#include "integration/shortcut_keys.h"
#include "tidy/tidy_options.h"

// Everything the settings dialog edits. The dialog shows and changes this
// object; the actions read it at the moment they need a value.
struct AppSettings {
    TidyOptionValues tidy = TidyOptionValues::atCreation();
    QString editorPath;               // EditorPathEdit
    QString tidyPath;                 // TidyPathEdit
    bool openInBrowser = false;       // chkIEMnu "ブラウザで開く"
    bool includeSubfolders = false;   // chkSubDir
    bool tidyJapanese = true;         // [Tidy] Japanese: Tidy's report in Japanese
    QString operaOptionFile;          // [Opera] OptionFile
    UploadOptions upload = UploadOptions::atCreation();
    ShortcutKeys keys = ShortcutKeys::initial();
};
