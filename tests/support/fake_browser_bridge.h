#pragma once

#include <QMap>
#include <QStringList>

#include "platform/browser_bridge.h"

// Browsers that answer as told: the page of each index (NotRunning unless
// set), and whether they take files. Every request is recorded.
class FakeBrowserBridge : public BrowserBridge {
public:
    bool openFile(int browserIndex, const QString &path) override
    {
        opened << QStringLiteral("%1 %2").arg(browserIndex).arg(path);
        return takesFiles;
    }
    Page currentPage(int browserIndex) override
    {
        asked << browserIndex;
        return pages.value(browserIndex);
    }

    void show(int browserIndex, const QString &url)
    {
        pages[browserIndex] = {Page::Status::Found, url};
    }

    QMap<int, Page> pages;
    bool takesFiles = true;
    QStringList opened;  // "index path"
    QList<int> asked;
};
