#pragma once

#include <QString>
#include <functional>

struct ValidatorRequest;

// A web browser an upload is shown in: the embedded one of the UpLoad page,
// or a window of its own. The window's side implements it with a web engine
// and shows the page's loading text in that window's status line.
class UploadBrowser {
public:
    virtual ~UploadBrowser() = default;
    // Starts the request: a POST with its body and Content-Type when it is
    // one, else a plain GET. `ended` is called once when this navigation is
    // over: loaded, failed, replaced by a later one, or its window closed.
    virtual void navigate(const ValidatorRequest &request, std::function<void(bool ok)> ended) = 0;
};

// Where upload answers can be shown.
class UploadBrowsers {
public:
    virtual ~UploadBrowsers() = default;
    // WB2, made when first asked for; nullptr when no browser can be made.
    virtual UploadBrowser *embeddedBrowser() = 0;
    // A new visible top-level browser window that belongs to the user from
    // then on (it deletes itself when closed); nullptr when none can be made.
    virtual UploadBrowser *newBrowserWindow() = 0;
};
