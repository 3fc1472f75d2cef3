#pragma once

class QCoreApplication;

// Qt's own texts (the file and folder dialogs, the standard buttons, the
// messages of Qt's classes) in Japanese, from the translations Qt ships
// (Debian's qt6-translations-l10n). Without them Qt speaks English; false
// then, and nothing else changes.
bool installQtJapaneseTranslations(QCoreApplication &app);
