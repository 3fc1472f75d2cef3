#pragma once

#include <QString>

// Shows a local file in one of the user's web browsers. Browsers are named
// by the index the checks use: 0 Internet Explorer, 1 Mozilla, 2 Opera,
// 3 and 4 Netscape, 5 Netscape 7.
class BrowserBridge {
public:
    virtual ~BrowserBridge() = default;
    // True when the browser took the file.
    virtual bool openFile(int browserIndex, const QString &path) = 0;
};

// No browser is reachable: every request fails, and the callers fall back to
// the editor.
class NoBrowserBridge : public BrowserBridge {
public:
    bool openFile(int, const QString &) override { return false; }
};
