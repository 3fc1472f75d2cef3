#pragma once

#include <QString>

// What adding or removing a menu entry shows to the user and asks of them:
// plain notices with an OK button, and a file chooser. The settings dialog
// answers with its windows, the tests with a recorder.
class MenuEntryPrompts {
public:
    virtual ~MenuEntryPrompts() = default;
    virtual void notice(const QString &text) = 0;
    // A file dialog with a Qt filter ("Opera (opera)"); empty when cancelled.
    virtual QString chooseFile(const QString &filter) = 0;
};
