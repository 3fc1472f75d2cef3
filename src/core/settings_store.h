#pragma once

#include <QString>

struct AppSettings;
class View;

// Loads and saves the settings: Velmarin.ini, Velmarin.txt and key.ini in the
// program folder. It also keeps the Tidy commands of the window enabled
// exactly while a Tidy executable is set.
class SettingsStore {
public:
    SettingsStore(AppSettings &settings, View &view);

    // Fills the settings from the files. On a first start (no Velmarin.txt)
    // it sets the first-start values and saves, so the files exist from then on.
    void load();

    // Writes key.ini, Velmarin.ini and Velmarin.txt, in that order. A file
    // that cannot be written is reported; the ones before it stay written and
    // the later ones are not attempted. Returns whether everything was written.
    bool save();

    // The Tidy path field changed (typed, chosen or loaded).
    void setTidyPath(const QString &path);

    // After the browse button of the Tidy path, chosen or not: the Tidy
    // commands are usable when the Tidy path names an existing file and the
    // editor path is empty or names one too. An empty editor path is fine:
    // the tidied page then opens with the desktop's default application.
    void afterTidyBrowse(const QString &editorPath);

    bool tidyConfigExists() const;

    // The Tidy that a first start or a vanished path falls back to: "tidy"
    // in the program folder, else "tidy" on PATH. Empty when there is none.
    static QString fallbackTidyPath();

private:
    void setTidyCommandsEnabled(bool enabled);

    AppSettings &m_settings;
    View &m_view;
};
