#pragma once

#include <QDateTime>

// The local date and time, behind an interface so that what depends on the
// moment (the upload boundary) can be tested with the moment fixed.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime localNow() const = 0;
};

class SystemClock : public Clock {
public:
    QDateTime localNow() const override { return QDateTime::currentDateTime(); }
};
