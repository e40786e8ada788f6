// SPDX-License-Identifier: GPL-3.0-or-later
#include "AlarmEngine.h"

#include "AlarmWindows.h"
#include "CommandEnding.h"
#include "CommandLaunch.h"
#include "platform/UserNotice.h"
#include "platform/WakeTimer.h"
#include "state/Captions.h"
#include "state/FiringTimes.h"
#include "state/LiveState.h"
#include "state/ValueForms.h"

#include <QPointer>
#include <algorithm>

namespace vqdbd {

namespace {

constexpr qint64 kSecondsPerDay = 86400;

qint64 dayOf(qint64 localSecond)
{
    return localSecond >= 0 ? localSecond / kSecondsPerDay
                            : -((-localSecond + kSecondsPerDay - 1) / kSecondsPerDay);
}

QString durationText(qint64 seconds)
{
    const qint64 days = seconds / kSecondsPerDay;
    const qint64 hours = seconds % kSecondsPerDay / 3600;
    const qint64 minutes = seconds % 3600 / 60;
    const qint64 rest = seconds % 60;
    QString text;
    if (days > 0)
        text += QStringLiteral("%1 d ").arg(days);
    if (days > 0 || hours > 0)
        text += QStringLiteral("%1 h ").arg(hours);
    return text + QStringLiteral("%1 min %2 s").arg(minutes).arg(rest);
}

} // namespace

AlarmEngine::AlarmEngine(LiveState& state, ProcessLauncher& launcher, const TimeTextFormat& format,
                         AlarmWindows& windows, UserNotice& notice, UserNotice& desktop,
                         const WakeTimer& wakeTimer, QObject* parent)
    : QObject(parent)
    , state_(state)
    , launcher_(launcher)
    , format_(format)
    , windows_(windows)
    , notice_(notice)
    , desktop_(desktop)
    , wakeTimer_(wakeTimer)
{ }

void AlarmEngine::onSecondShown(const WallSecond& second, const QString& text)
{
    const qint64 now = second.localSecond;
    const std::optional<qint64> last = lastLocalSecond_;
    lastLocalSecond_ = now;
    if (last && now - *last > 1) {
        // The display passed over these seconds (a late wake-up, a step forward, a new time zone or
        // a sleep): the last minute of them is looked at late rather than never, so an alarm that
        // woke the computer fires even when the resume took a while; what lies before is told of.
        const qint64 madeUpFrom = std::max(*last + 1, now - kMostSecondsMadeUp);
        if (madeUpFrom > *last + 1)
            reportPassedOver(*last, madeUpFrom, now);
        for (qint64 passed = madeUpFrom; passed < now; ++passed)
            checkSecond(passed, format_.format(localTimeOf(passed)));
    }
    checkSecond(now, text);
}

void AlarmEngine::checkSecond(qint64 localSecond, const QString& text)
{
    const qint64 day = dayOf(localSecond);
    const QString twentyFourHour = TimeTextFormat::twentyFourHour(localTimeOf(localSecond));
    for (int n = 1; n <= kSlotCount; ++n) {
        if (!state_.isSlotCheckRunning(n) || !firesAt(state_.slot(n).time, text, twentyFourHour)
            || firedOnDay(n, day, text))
            continue;
        lastFiring_.at(static_cast<std::size_t>(n - 1)) = Firing { day, text };
        fire(n, localSecond, text);
    }
}

void AlarmEngine::fire(int slot, qint64 localSecond, const QString& text)
{
    // Whatever windows are open, the command runs at its time: a daily backup must not wait for the
    // user to come back and close yesterday's window.
    const bool stillOpen = windows_.isWindowOpen(slot);
    const AlarmSlot& alarm = state_.slot(slot);
    const QString firedAt = dayAndTimeText(localSecond, text);
    // The alarm as it was when it fired: its name may have changed by the time the command ends.
    const CommandRequest request { QStringLiteral("alarm %1").arg(slot), alarm.name, alarm.command, firedAt,
                                   false };
    const LaunchAttempt launch
        = applyLaunchRule(launcher_, alarm.runCommand, alarm.runHidden, alarm.command,
                          [engine = QPointer<AlarmEngine>(this), request](const ProcessEnding& ending) {
                              if (engine)
                                  engine->reportEnding(request, ending);
                          });
    if (launch.failed())
        notice_.tell(captions::commandNotStarted(),
                     launchFailureLine(request.origin, alarm.command, launch.problem));
    if (forms::isOn(alarm.showMessage)) {
        if (stillOpen) {
            notice_.tell(captions::alarmFiredAgain(),
                         QStringLiteral("%1 fired again on %2 while its notification window from an earlier "
                                        "firing was still open; its command was started as usual, and that "
                                        "window now shows this firing")
                             .arg(describe(slot), firedAt));
            windows_.showFiredAgain(slot, firedAt);
        } else {
            windows_.openWindow(slot);
        }
    }
    Q_EMIT fired(slot, text);
}

bool AlarmEngine::firedOnDay(int slot, qint64 localDay, const QString& text) const
{
    return Firing::isOf(lastFiring_.at(static_cast<std::size_t>(slot - 1)), localDay, text);
}

void AlarmEngine::reportPassedOver(qint64 lastChecked, qint64 until, qint64 now)
{
    QList<int> undecided;
    for (int n = 1; n <= kSlotCount; ++n) {
        if (state_.isSlotCheckRunning(n))
            undecided.append(n);
    }
    // Every time of day in the gap, at most one day's worth of them, so each comes round once (an
    // hour lived twice at the end of summer time falls on one day). A slot that already fired on the
    // day its time was passed over, before the clock was set back and then forward again, did fire.
    QList<int> missed;
    const qint64 first = std::max(lastChecked + 1, until - kSecondsPerDay);
    for (qint64 second = first; second < until && !undecided.isEmpty(); ++second) {
        const std::tm local = localTimeOf(second);
        const QString text = format_.format(local);
        const QString twentyFourHour = TimeTextFormat::twentyFourHour(local);
        for (auto slot = undecided.begin(); slot != undecided.end();) {
            if (!firesAt(state_.slot(*slot).time, text, twentyFourHour)) {
                ++slot;
                continue;
            }
            std::optional<Firing>& told = lastMissed_.at(static_cast<std::size_t>(*slot - 1));
            const qint64 day = dayOf(second);
            if (!firedOnDay(*slot, day, text) && !Firing::isOf(told, day, text)) {
                missed.append(*slot);
                told = Firing { day, text };
            }
            slot = undecided.erase(slot);
        }
    }
    std::sort(missed.begin(), missed.end());
    const QString from = format_.format(localTimeOf(lastChecked));
    const QString to = format_.format(localTimeOf(now));
    const QString wakeProblem = wakeTimer_.problem();
    const QString unwoken = wakeProblem.isEmpty()
        ? QString()
        : QStringLiteral("; if the computer slept, it could not be woken for the alarm: ") + wakeProblem;
    for (const int n : std::as_const(missed)) {
        const QString line
            = QStringLiteral("%1 did not fire: the local time jumped forward by %2, from %3 to %4 (the "
                             "clock was set, the computer slept, the time zone changed, or "
                             "daylight-saving time began), and alarms passed over by more than a minute "
                             "are not made up%5")
                  .arg(describe(n), durationText(now - lastChecked), from, to, unwoken);
        notice_.tell(captions::alarmMissed(), line);
        // A user back at a machine that slept looks first at the desktop's own notifications.
        const AlarmSlot& alarm = state_.slot(n);
        desktop_.tell(QStringLiteral("Missed alarm: %1 at %2").arg(alarm.name, alarm.time), line);
    }
}

void AlarmEngine::reportEnding(const CommandRequest& request, const ProcessEnding& ending)
{
    const QString line = commandEndingLine(request, ending);
    if (!line.isEmpty())
        notice_.tell(captions::commandFailed(), line);
}

QString AlarmEngine::describe(int slot) const
{
    const AlarmSlot& alarm = state_.slot(slot);
    return QStringLiteral("alarm %1 (\"%2\" at %3)").arg(slot).arg(alarm.name, alarm.time);
}

} // namespace vqdbd
