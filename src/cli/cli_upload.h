#pragma once

#include <QStringList>

// velmarin-cli -w3c|-lint|-wdg|-cssu [--json] FILE|URL...: sends each
// document to the chosen online validators without a browser and saves each
// answer in the current folder. Returns the exit status, or -1 when the
// arguments hold no upload switch.
int runUploadCommand(const QStringList &arguments);
