#pragma once

#include <QString>

// Where the four online validators live: the key "Host" of the sections
// [Markup], [Lint], [WDG] and [CSS] of Velmarin.ini, holding scheme, host
// and an optional port, without a path ("http://127.0.0.1:8080"). A missing,
// empty or malformed key gives the public service.
namespace ValidatorHosts {

constexpr int kServiceCount = 4;

QString defaultHost(int service);
QString section(int service);
// The host as read from the settings file now, without a trailing slash.
QString host(int service);
// A stored text made usable, or empty when it is not a plain http(s) origin.
QString normalise(const QString &stored);

}  // namespace ValidatorHosts
