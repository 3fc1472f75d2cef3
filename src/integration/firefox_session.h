#pragma once

#include <QByteArray>

#include "platform/browser_bridge.h"

// Firefox's session store, sessionstore-backups/recovery.jsonlz4 in the
// profile: "mozLz40\0", the decoded size as a little-endian uint32, then one
// LZ4 block holding the session as JSON. The file comes from disk and may be
// half written, damaged or made up, so every claim in it is checked before
// memory is spent on it.
namespace FirefoxSession {

// Largest session we decode; real ones are a few hundred kilobytes.
constexpr qint64 kDecodedCap = 64LL * 1024 * 1024;

// The JSON held by a mozLz4 file; false (json untouched) for a wrong magic, a
// size over kDecodedCap or beyond what the block could hold, or a block that
// does not decode to exactly the size claimed.
bool decodeMozLz4(const QByteArray &file, QByteArray *json);

// The address shown by the selected tab of the selected window: windows
// [selectedWindow], its tabs [selected], that tab's entries [index], all
// counted from 1. NoAddress when the JSON is not a session or any of them is
// missing or out of range.
BrowserBridge::Page currentPage(const QByteArray &json);

// Both steps on the bytes of a store file: NoAddress when it cannot be read.
BrowserBridge::Page pageOfStore(const QByteArray &file);

}  // namespace FirefoxSession
