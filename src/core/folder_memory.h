#pragma once

#include <QString>

// The remembered folder (LastDir): every file and folder dialog starts there.
// It lives in Velmarin.ini as [Tidy] Dir.
class FolderMemory {
public:
    // Reads [Tidy] Dir.
    void load();

    // Remembers the folder of a chosen file, or a chosen folder given with a
    // trailing separator. Anything else changes nothing.
    void remember(const QString &name);

    QString lastDir() const { return m_lastDir; }
    // lastDir() when it names an existing folder, else empty (the dialog's own default).
    QString startDir() const;

    // Sets and stores the folder as it is (after a successful multi-document run).
    void store(const QString &folder);

private:
    QString m_lastDir;
};
