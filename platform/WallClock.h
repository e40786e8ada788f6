// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <chrono>

namespace vqdbd {

using WallTime = std::chrono::sys_time<std::chrono::milliseconds>;

// The system's wall clock: what time it is, and one wake-up at a chosen wall time.
class WallClock : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~WallClock() override = default;

    virtual WallTime now() const = 0;
    // Asks for one wakeUp() at the given wall time, replacing any earlier request.
    virtual void wakeAt(WallTime when) = 0;

Q_SIGNALS:
    void wakeUp();
    // The system clock was set (by hand, by NTP stepping it, or after a resume): reread the time now.
    // The program sends a change of time zone this way too (see ZoneWatcher).
    void clockChanged();
};

} // namespace vqdbd
