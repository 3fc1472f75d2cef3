#pragma once

#include <QStringList>
#include <memory>
#include <vector>

#include "checks/upload_browser.h"
#include "checks/validator_request.h"

// A browser that records its navigations and ends them when told.
class FakeUploadBrowser : public UploadBrowser {
public:
    void navigate(const ValidatorRequest &request, std::function<void(bool)> ended) override
    {
        if (m_ended)
            m_ended(false);  // replaced
        urls << request.url;
        posts << request.post;
        m_ended = std::move(ended);
    }
    void finishLoad()
    {
        auto ended = std::move(m_ended);
        m_ended = nullptr;
        if (ended)
            ended(true);
    }
    QStringList urls;
    QList<bool> posts;

private:
    std::function<void(bool)> m_ended;
};

class FakeUploadBrowsers : public UploadBrowsers {
public:
    UploadBrowser *embeddedBrowser() override { return &embedded; }
    UploadBrowser *newBrowserWindow() override
    {
        windows.push_back(std::make_unique<FakeUploadBrowser>());
        return windows.back().get();
    }
    FakeUploadBrowser embedded;
    std::vector<std::unique_ptr<FakeUploadBrowser>> windows;
};
