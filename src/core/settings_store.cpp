#include "settings_store.h"

#include <QFileInfo>
#include <QStandardPaths>

#include "core/app_settings.h"
#include "core/view.h"
#include "platform/ini_file.h"
#include "platform/program_folder.h"
#include "tidy/tidy_config_file.h"

namespace {

bool isExistingFile(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return info.exists() && info.isFile();
}

const QString kMarkup = QStringLiteral("Markup");
const QString kWdg = QStringLiteral("WDG");
const QString kLint = QStringLiteral("Lint");
const QString kCss = QStringLiteral("CSS");

}  // namespace

SettingsStore::SettingsStore(AppSettings &settings, View &view)
    : m_settings(settings), m_view(view)
{
}

bool SettingsStore::tidyConfigExists() const
{
    return QFileInfo::exists(ProgramFolder::tidyConfigPath());
}

QString SettingsStore::fallbackTidyPath()
{
    const QString beside = ProgramFolder::file(QStringLiteral("tidy"));
    const QFileInfo info(beside);
    if (info.isFile() && info.isExecutable())
        return beside;
    return QStandardPaths::findExecutable(QStringLiteral("tidy"));
}

void SettingsStore::setTidyCommandsEnabled(bool enabled)
{
    m_view.setEnabled(Control::TidyMenuItems, enabled);
    m_view.setEnabled(Control::TidyToolButtons, enabled);
}

void SettingsStore::setTidyPath(const QString &path)
{
    if (path == m_settings.tidyPath)
        return;  // like an edit field: no change, no change event
    m_settings.tidyPath = path;
    setTidyCommandsEnabled(isExistingFile(path));
}

void SettingsStore::afterTidyBrowse(const QString &editorPath)
{
    const bool editorUsable = editorPath.isEmpty() || isExistingFile(editorPath);
    setTidyCommandsEnabled(isExistingFile(m_settings.tidyPath) && editorUsable);
}

void SettingsStore::load()
{
    AppSettings &s = m_settings;
    IniFile ini(ProgramFolder::iniPath());

    const QString keyIni = ProgramFolder::keyIniPath();
    if (QFileInfo::exists(keyIni))
        s.keys.loadFromIni(keyIni);

    const QString kEmpty;
    if (!ini.exists()) {
        s.operaOptionFile = kEmpty;
        s.openInBrowser = false;
        s.editorPath = kEmpty;
        setTidyPath(kEmpty);
    } else {
        s.operaOptionFile = ini.readString(QStringLiteral("Opera"), QStringLiteral("OptionFile"), kEmpty);
        s.openInBrowser = ini.readBool(QStringLiteral("IE"), QStringLiteral("Open"), false);
        s.editorPath = ini.readString(QStringLiteral("Editor"), QStringLiteral("Path"), kEmpty);
        setTidyPath(ini.readString(QStringLiteral("Tidy"), QStringLiteral("Path"), kEmpty));
        s.includeSubfolders = ini.readBool(QStringLiteral("Other"), QStringLiteral("SubDir"), false);
        s.tidyJapanese = ini.readBool(QStringLiteral("Tidy"), QStringLiteral("Japanese"), true);

        UploadOptions &u = s.upload;
        using namespace UploadLists;
        u.markupCharset = pick(markupCharsets(),
                               ini.readString(kMarkup, QStringLiteral("Charset"), markupCharsets().first()),
                               QStringLiteral("shift_jis (Japanese, Win/Mac)"));
        u.markupType = pick(markupTypes(),
                            ini.readString(kMarkup, QStringLiteral("Type"), markupTypes().first()),
                            markupTypes().first());
        u.showSource = ini.readBool(kMarkup, QStringLiteral("ShowSource"), false);
        u.showParseTree = ini.readBool(kMarkup, QStringLiteral("ShowParseTree"), false);
        u.showOutline = ini.readBool(kMarkup, QStringLiteral("ShowOutline"), false);
        u.excludeAttributes = ini.readBool(kMarkup, QStringLiteral("ExAttr"), false);
        u.validateErrorPages = ini.readBool(kMarkup, QStringLiteral("ValiErr"), false);
        u.verbose = ini.readBool(kMarkup, QStringLiteral("Verbose"), true);
        u.wdgCharset = pick(wdgCharsets(),
                            ini.readString(kWdg, QStringLiteral("Charset"), QStringLiteral("ISO-8859-1")),
                            QStringLiteral("Shift_JIS"));
        u.wdgShowInput = ini.readBool(kWdg, QStringLiteral("ShowInput"), true);
        u.wdgWarning = ini.readBool(kWdg, QStringLiteral("Warning"), true);
        u.lintAllCheck = ini.readBool(kLint, QStringLiteral("AllCheck"), false);
        u.lintNumView = ini.readBool(kLint, QStringLiteral("NumView"), true);
        u.lintNoReligious = ini.readBool(kLint, QStringLiteral("NoReligious"), false);
        u.lintNoAccess = ini.readBool(kLint, QStringLiteral("NoAccess"), false);
        const int browser = ini.readInt(kLint, QStringLiteral("TextBrowser"), 1);
        u.lintTextBrowser = (browser == 0 || browser == 1) ? browser : 2;
        u.cssWarning = pick(cssWarnings(),
                            ini.readString(kCss, QStringLiteral("Warning"), cssWarnings().first()),
                            cssWarnings().first());
        u.cssProfile = pick(cssProfiles(),
                            ini.readString(kCss, QStringLiteral("Profile"), QStringLiteral("CSS version 2")),
                            QStringLiteral("CSS version 2"));
        u.cssMedium = pick(cssMedia(), ini.readString(kCss, QStringLiteral("Medium"), QStringLiteral("all")),
                           QStringLiteral("all"));
    }

    // A first start saves every file below, the fallback Tidy path with
    // them, so each file is written once and whole.
    const QString config = ProgramFolder::tidyConfigPath();
    const bool firstStart = !QFileInfo::exists(config);
    const auto storeTidyPath = [&](const QString &path) {
        if (!firstStart)
            ini.writeString(QStringLiteral("Tidy"), QStringLiteral("Path"), path);
    };

    // Resolve the Tidy path.
    const QString fallback = fallbackTidyPath();
    if (!s.tidyPath.isEmpty()) {
        if (isExistingFile(s.tidyPath)) {
            setTidyCommandsEnabled(true);
        } else if (!fallback.isEmpty()) {
            setTidyPath(fallback);
            storeTidyPath(fallback);
            setTidyCommandsEnabled(true);
        } else {
            setTidyCommandsEnabled(false);
            s.tidyPath.clear();
        }
    } else {
        m_view.setEnabled(Control::TidyToolButtons, false);
        if (!fallback.isEmpty()) {
            setTidyPath(fallback);
            storeTidyPath(fallback);
            m_view.setEnabled(Control::TidyToolButtons, true);
        }
    }

    if (!isExistingFile(s.editorPath))
        s.editorPath.clear();

    if (firstStart) {
        s.tidy.applyFirstStartValues();
        save();
    } else {
        loadTidyConfig(config, s.tidy);
    }
}

bool SettingsStore::save()
{
    AppSettings &s = m_settings;
    QString error;

    if (!s.keys.saveToIni(ProgramFolder::keyIniPath(), &error)) {
        m_view.showError(error);
        return false;
    }

    if (s.tidyPath.isEmpty()) {
        setTidyCommandsEnabled(false);
    } else if (isExistingFile(s.tidyPath)) {
        setTidyCommandsEnabled(true);
    } else {
        setTidyCommandsEnabled(false);
        s.tidyPath.clear();
    }

    // Every value in one replacement of the file, so a program stopped
    // half-way leaves the old file or the new one, never a part of it.
    IniFile ini(ProgramFolder::iniPath());
    const UploadOptions &u = s.upload;
    auto b = [](bool v) { return v ? QStringLiteral("1") : QStringLiteral("0"); };
    const QVector<IniValue> values{
        {QStringLiteral("Editor"), QStringLiteral("Path"), s.editorPath},
        {QStringLiteral("Tidy"), QStringLiteral("Path"), s.tidyPath},
        {QStringLiteral("Tidy"), QStringLiteral("Japanese"), b(s.tidyJapanese)},
        {QStringLiteral("IE"), QStringLiteral("Open"), b(s.openInBrowser)},
        {QStringLiteral("Other"), QStringLiteral("SubDir"), b(s.includeSubfolders)},
        {kMarkup, QStringLiteral("Charset"), u.markupCharset},
        {kMarkup, QStringLiteral("Type"), u.markupType},
        {kMarkup, QStringLiteral("ShowSource"), b(u.showSource)},
        {kMarkup, QStringLiteral("ShowParseTree"), b(u.showParseTree)},
        {kMarkup, QStringLiteral("ShowOutline"), b(u.showOutline)},
        {kMarkup, QStringLiteral("ExAttr"), b(u.excludeAttributes)},
        {kMarkup, QStringLiteral("ValiErr"), b(u.validateErrorPages)},
        {kMarkup, QStringLiteral("Verbose"), b(u.verbose)},
        {kWdg, QStringLiteral("Charset"), u.wdgCharset},
        {kWdg, QStringLiteral("ShowInput"), b(u.wdgShowInput)},
        {kWdg, QStringLiteral("Warning"), b(u.wdgWarning)},
        {kLint, QStringLiteral("AllCheck"), b(u.lintAllCheck)},
        {kLint, QStringLiteral("NumView"), b(u.lintNumView)},
        {kLint, QStringLiteral("NoReligious"), b(u.lintNoReligious)},
        {kLint, QStringLiteral("NoAccess"), b(u.lintNoAccess)},
        {kLint, QStringLiteral("TextBrowser"), QString::number(u.lintTextBrowser)},
        {kCss, QStringLiteral("Warning"), u.cssWarning},
        {kCss, QStringLiteral("Profile"), u.cssProfile},
        {kCss, QStringLiteral("Medium"), u.cssMedium},
    };
    if (!ini.writeStrings(values)) {
        m_view.showError(ini.errorString());
        return false;
    }

    if (!saveTidyConfig(ProgramFolder::tidyConfigPath(), s.tidy, &error)) {
        m_view.showError(error);
        return false;
    }
    return true;
}
