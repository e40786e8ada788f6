// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/WakeTimer.h"

namespace vqdbd {

// A timerfd on CLOCK_REALTIME_ALARM, which wakes a suspended system at its wall time. Creating and
// arming it take CAP_WAKE_ALARM (see keepOnlyWakeAlarmCapability). Nothing reads it: at its time the
// clock is awake anyway, and the next arming resets it.
class AlarmClockWakeTimer final : public WakeTimer
{
public:
    AlarmClockWakeTimer();
    ~AlarmClockWakeTimer() override;
    AlarmClockWakeTimer(const AlarmClockWakeTimer&) = delete;
    AlarmClockWakeTimer& operator=(const AlarmClockWakeTimer&) = delete;

    void arm(std::optional<WallTime> when) override;
    QString problem() const override { return problem_; }

private:
    int fd_ = -1;
    QString problem_;
};

// Gives up every capability the program was started with but CAP_WAKE_ALARM, and keeps that one out
// of the inheritable and ambient sets, so that no command it starts has any: a program without file
// capabilities of its own starts with none. A program run by root keeps its capabilities, as every
// program root starts gets them again, but CAP_WAKE_ALARM leaves the bounding set, so that those
// programs are not given that one.
void keepOnlyWakeAlarmCapability();

} // namespace vqdbd
