// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Diagnostics.h"
#include "state/FiringTimes.h"
#include "state/TimeText.h"

#include <QObject>
#include <optional>

namespace vqdbd {

class LiveState;
class WakeTimer;

// The UTC second of the next alarm after the second `now`: the first second at which a running slot
// check fires. None while no check runs, or no running slot's time can ever fire. A time that the
// clocks skip that day (the hour lost when daylight-saving time begins) is due the next day, and one
// that they show twice is due the first time.
std::optional<qint64> nextAlarmSecond(const LiveState& state, const FiringTimes& times,
                                      const WallSecond& now);

// Keeps the computer's wake-up timer armed for the next alarm, a little ahead of it so that the
// alarm still fires at its second after the resume. It looks again at every second the clock shows,
// which covers each change of that time: an OK in the alarm settings window, the master switch, a
// firing, midnight, a clock step, a new time zone and a resume; the timer is set only when the time
// changes. Where the computer cannot be woken it says why, once, when an alarm first wants it.
class WakeScheduler final : public QObject
{
    Q_OBJECT
public:
    // How long before the alarm the computer wakes: time for the system and the clock to resume. An
    // alarm missed by less than a minute all the same still fires (see AlarmEngine).
    static constexpr qint64 kLeadSeconds = 10;

    WakeScheduler(const LiveState& state, const TimeTextFormat& format, WakeTimer& timer,
                  QObject* parent = nullptr, Diagnostics diagnostics = writeToAlarmsLog);

    void onSecondShown(const vqdbd::WallSecond& second);

private:
    const LiveState& state_;
    FiringTimes times_;
    WakeTimer& timer_;
    Diagnostics diagnostics_;
    std::optional<std::optional<qint64>> armed_; // the alarm second armed for; unset before the first
    bool toldProblem_ = false;
};

} // namespace vqdbd
