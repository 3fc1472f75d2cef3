#pragma once

class QWidget;

// Start-up measurement (bench/startup_bench): when the environment variable
// VELMARIN_REPORT_FIRST_PAINT is set, the program prints one line once the
// window has been painted for the first time,
//   first-paint-ns=<CLOCK_MONOTONIC in ns> rss-kib=<VmRSS>
// and quits. Without the variable nothing happens.
void reportFirstPaintIfAsked(QWidget *window);
