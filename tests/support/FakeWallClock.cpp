// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeWallClock.h"

namespace vqdbd::test {

FakeWallClock::FakeWallClock(WallTime start)
    : now_(start)
{ }

void FakeWallClock::advanceTo(WallTime when, std::chrono::milliseconds lateness)
{
    if (wake_ && *wake_ <= when) {
        now_ = *wake_ + lateness;
        wake_.reset();
        Q_EMIT wakeUp();
    }
    if (now_ < when)
        now_ = when;
}

void FakeWallClock::runFor(std::chrono::seconds seconds)
{
    const WallTime end = now_ + seconds;
    while (wake_ && *wake_ <= end)
        advanceTo(*wake_);
    now_ = end;
}

void FakeWallClock::jumpTo(WallTime when)
{
    now_ = when;
    Q_EMIT clockChanged();
}

WallTime FakeWallClock::at(qint64 utcSecond, int millis)
{
    return WallTime(std::chrono::milliseconds(utcSecond * 1000 + millis));
}

} // namespace vqdbd::test
