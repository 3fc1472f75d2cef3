#pragma once

#include "platform/browser_bridge.h"

class ProcessRunner;

// The browsers of this desktop behind the checks' browser indexes:
//
//   index  checks' name          reached as
//   0      Internet Explorer     Chromium/Chrome/Vivaldi/Edge, DevTools port
//                                [Browser] ChromiumPort (9222)
//   1      Mozilla               Firefox ("firefox"), profile [Browser]
//                                FirefoxProfile, else the default profile
//   2      Opera                 Opera, DevTools port [Browser] OperaPort (9223)
//   3      Netscape (1st try)    Firefox ESR ("firefox-esr"), profile [Browser]
//                                FirefoxEsrProfile, else the default profile
//   4      Netscape (2nd try)    Firefox, as index 1
//   5      Netscape 7            Firefox, as index 1
//
// Chromium-family browsers answer through their DevTools endpoint, so they
// must be started with --remote-debugging-port. Firefox is read from its
// profile's session store, and shown a file through its own --new-tab remote.
// Velmarin.ini is read at every request, so a changed port or profile counts
// at once.
class DesktopBrowserBridge : public BrowserBridge {
public:
    explicit DesktopBrowserBridge(ProcessRunner &runner) : m_runner(runner) {}

    bool openFile(int browserIndex, const QString &path) override;
    Page currentPage(int browserIndex) override;

private:
    ProcessRunner &m_runner;
};
