// SPDX-License-Identifier: GPL-3.0-or-later
#include "WakeSchedule.h"

#include "platform/WakeTimer.h"
#include "state/LiveState.h"

#include <algorithm>
#include <array>

namespace vqdbd {

namespace {

constexpr qint64 kSecondsPerDay = 86400;

qint64 offsetAt(qint64 utcSecond)
{
    return wallSecondAt(utcSecond).localSecond - utcSecond;
}

// The first UTC second after `after` that shows the local second, among the offsets in force within
// a few hours of it; none in a gap.
std::optional<qint64> firstShowing(qint64 localSecond, qint64 after)
{
    const qint64 guess = localSecond - offsetAt(after);
    const std::array<qint64, 4> offsets { offsetAt(after), offsetAt(guess), offsetAt(guess - 3 * 3600),
                                          offsetAt(guess + 3 * 3600) };
    std::optional<qint64> first;
    for (const qint64 offset : offsets) {
        const qint64 utc = localSecond - offset;
        if (utc > after && wallSecondAt(utc).localSecond == localSecond && (!first || utc < *first))
            first = utc;
    }
    return first;
}

} // namespace

std::optional<qint64> nextAlarmSecond(const LiveState& state, const FiringTimes& times, const WallSecond& now)
{
    const qint64 today
        = now.localSecond - (now.localSecond % kSecondsPerDay + kSecondsPerDay) % kSecondsPerDay;
    std::optional<qint64> next;
    for (int n = 1; n <= kSlotCount; ++n) {
        if (!state.isSlotCheckRunning(n))
            continue;
        const std::optional<int> secondOfDay = times.secondOfDay(state.slot(n).time);
        if (!secondOfDay)
            continue;
        // Today's, tomorrow's, or the day after's when tomorrow's falls in a gap.
        for (int day = 0; day < 3; ++day) {
            const qint64 local = today + day * kSecondsPerDay + *secondOfDay;
            if (local <= now.localSecond && day == 0)
                continue;
            if (const std::optional<qint64> utc = firstShowing(local, now.utcSecond)) {
                if (!next || *utc < *next)
                    next = utc;
                break;
            }
        }
    }
    return next;
}

WakeScheduler::WakeScheduler(const LiveState& state, const TimeTextFormat& format, WakeTimer& timer,
                             QObject* parent, Diagnostics diagnostics)
    : QObject(parent)
    , state_(state)
    , times_(format)
    , timer_(timer)
    , diagnostics_(std::move(diagnostics))
{ }

void WakeScheduler::onSecondShown(const WallSecond& second)
{
    const std::optional<qint64> next = nextAlarmSecond(state_, times_, second);
    if (armed_ && *armed_ == next)
        return;
    armed_ = next;
    if (next) {
        // An alarm closer than the lead wakes the computer at its own second.
        const qint64 wake = *next - kLeadSeconds > second.utcSecond ? *next - kLeadSeconds : *next;
        timer_.arm(WallTime(std::chrono::seconds(wake)));
    } else {
        timer_.arm(std::nullopt);
    }
    if (next && !toldProblem_ && !timer_.problem().isEmpty()) {
        toldProblem_ = true;
        diagnostics_(QStringLiteral("alarms cannot wake the computer from sleep: %1; they fire as usual "
                                    "while it is awake")
                         .arg(timer_.problem()));
    }
}

} // namespace vqdbd
