#pragma once

#include <QString>
#include <memory>

// The user's web browsers, as the checks reach them: which page a browser
// shows, and showing a local file in it. Browsers are named by the index the
// checks use: 0 Internet Explorer, 1 Mozilla, 2 Opera, 3 and 4 Netscape,
// 5 Netscape 7. Which real browser answers for an index is the bridge's
// business (see the README).
class BrowserBridge {
public:
    // What a browser said about the page it shows.
    struct Page {
        enum class Status {
            Found,        // url holds the address of the page shown
            NotRunning,   // no such browser runs
            Unreachable,  // it runs, but its endpoint or session cannot be read
            NoAddress,    // it answered, but names no page
        };
        Status status = Status::NotRunning;
        QString url;
    };

    virtual ~BrowserBridge() = default;
    // True when the browser took the file.
    virtual bool openFile(int browserIndex, const QString &path) = 0;
    // The page the browser of that index shows; answers within 2 seconds.
    virtual Page currentPage(int browserIndex) = 0;
};

// No browser is reachable: every request fails, and the callers fall back to
// the editor.
class NoBrowserBridge : public BrowserBridge {
public:
    bool openFile(int, const QString &) override { return false; }
    Page currentPage(int) override { return {}; }
};
