// SPDX-License-Identifier: GPL-3.0-or-later
#include "SecondTicker.h"

#include "platform/WallClock.h"

namespace vqdbd {

namespace {

qint64 floorSecond(WallTime time)
{
    const auto ms = time.time_since_epoch().count();
    return ms >= 0 ? ms / 1000 : -((-ms + 999) / 1000);
}

} // namespace

SecondTicker::SecondTicker(WallClock& clock, const TimeTextFormat& format, QObject* parent)
    : QObject(parent)
    , clock_(clock)
    , format_(format)
{
    connect(&clock_, &WallClock::wakeUp, this, &SecondTicker::tick);
    connect(&clock_, &WallClock::clockChanged, this, &SecondTicker::tick);
}

void SecondTicker::start()
{
    running_ = true;
    tick();
}

void SecondTicker::tick()
{
    if (!running_)
        return;
    const qint64 second = floorSecond(clock_.now());
    const WallSecond wall = wallSecondAt(second);
    if (!shown_ || shown_->utcSecond != wall.utcSecond || shown_->localSecond != wall.localSecond) {
        shown_ = wall;
        text_ = format_.format(wall.local);
        Q_EMIT secondShown(wall, text_);
    }
    clock_.wakeAt(WallTime(std::chrono::seconds(second + 1)));
}

} // namespace vqdbd
