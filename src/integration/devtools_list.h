#pragma once

#include <QByteArray>

#include "platform/browser_bridge.h"

// The answer of a Chromium-family browser's DevTools endpoint to
// GET /json/list: a JSON array of targets, the most recently active first.
// Only targets of type "page" are tabs; the browser's own UI, service workers,
// iframes and the like are skipped.
namespace DevToolsList {

// Found with the address of the first page; NoAddress for a list without a
// page (or whose first page has no address); Unreachable for anything that is
// not a JSON array (the port answers, but it is not a DevTools endpoint).
BrowserBridge::Page currentPage(const QByteArray &json);

}  // namespace DevToolsList
