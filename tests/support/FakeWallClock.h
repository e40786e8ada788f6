// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/WallClock.h"

#include <optional>

namespace vqdbd::test {

// Wall time that moves only when a test moves it. advanceTo() lets time pass, delivering the
// requested wake-up if it falls due; jumpTo() sets the clock as an administrator or NTP would.
class FakeWallClock final : public WallClock
{
    Q_OBJECT
public:
    explicit FakeWallClock(WallTime start = WallTime {});

    WallTime now() const override { return now_; }
    void wakeAt(WallTime when) override { wake_ = when; }

    std::optional<WallTime> pendingWake() const { return wake_; }
    // Passes time up to `when`, waking (late by `lateness`) if a wake-up fell due on the way.
    void advanceTo(WallTime when, std::chrono::milliseconds lateness = std::chrono::milliseconds(0));
    // Passes time second by second boundary, as the real clock would wake, for `seconds` seconds.
    void runFor(std::chrono::seconds seconds);
    void jumpTo(WallTime when);

    static WallTime at(qint64 utcSecond, int millis = 0);

private:
    WallTime now_;
    std::optional<WallTime> wake_;
};

} // namespace vqdbd::test
