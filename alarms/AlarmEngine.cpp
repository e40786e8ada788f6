#include "AlarmEngine.h"

#include "AlarmWindows.h"
#include "CommandLaunch.h"
#include "state/LiveState.h"

#include <QSet>

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
                         AlarmWindows& windows, QObject* parent, Diagnostics diagnostics)
    : QObject(parent)
    , state_(state)
    , launcher_(launcher)
    , format_(format)
    , windows_(windows)
    , diagnostics_(std::move(diagnostics))
{ }

void AlarmEngine::onSecondShown(const WallSecond& second, const QString& text)
{
    const qint64 now = second.localSecond;
    const std::optional<qint64> last = lastLocalSecond_;
    lastLocalSecond_ = now;
    if (last && now - *last > 1 && now - *last <= kMostSecondsMadeUp + 1) {
        // The display passed over these seconds (a late wake-up or a small step forward): they are
        // looked at late rather than never.
        for (qint64 passed = *last + 1; passed < now; ++passed)
            checkSecond(passed, format_.format(localTimeOf(passed)));
    } else if (last && now - *last > kMostSecondsMadeUp + 1) {
        reportPassedOver(*last, now);
    }
    checkSecond(now, text);
}

void AlarmEngine::checkSecond(qint64 localSecond, const QString& text)
{
    const qint64 day = dayOf(localSecond);
    for (int n = 1; n <= kSlotCount; ++n) {
        if (!state_.isSlotCheckRunning(n) || state_.slot(n).time != text)
            continue;
        std::optional<Firing>& last = lastFiring_.at(static_cast<std::size_t>(n - 1));
        if (last && last->localDay == day && last->text == text)
            continue;
        last = Firing { day, text };
        fire(n, text);
    }
}

void AlarmEngine::fire(int slot, const QString& text)
{
    if (windows_.isWindowOpen(slot)) {
        diagnostics_(
            QStringLiteral("%1 is due again at %2, but its notification window from an earlier firing "
                           "is still open; it neither runs its command nor opens a second window")
                .arg(describe(slot), text));
        return;
    }
    const AlarmSlot& alarm = state_.slot(slot);
    const LaunchAttempt launch = applyLaunchRule(launcher_, alarm.runCommand, alarm.runHidden, alarm.command);
    if (launch.failed())
        Q_EMIT launchFailed(slot, alarm.command, launch.problem);
    if (alarm.showMessage == 1)
        windows_.openWindow(slot);
    Q_EMIT fired(slot, text);
}

void AlarmEngine::reportPassedOver(qint64 lastChecked, qint64 now)
{
    QSet<QString> due;
    for (int n = 1; n <= kSlotCount; ++n) {
        if (state_.isSlotCheckRunning(n))
            due.insert(state_.slot(n).time);
    }
    if (due.isEmpty())
        return;
    // Every time of day in the gap, at most one day's worth of them.
    QSet<QString> passedOver;
    const qint64 first = std::max(lastChecked + 1, now - kSecondsPerDay);
    for (qint64 second = first; second < now && passedOver.size() < due.size(); ++second) {
        const QString text = format_.format(localTimeOf(second));
        if (due.contains(text))
            passedOver.insert(text);
    }
    const QString from = format_.format(localTimeOf(lastChecked));
    const QString to = format_.format(localTimeOf(now));
    for (int n = 1; n <= kSlotCount; ++n) {
        if (!state_.isSlotCheckRunning(n) || !passedOver.contains(state_.slot(n).time))
            continue;
        diagnostics_(
            QStringLiteral("%1 did not fire: the local time jumped forward by %2, from %3 to %4 (the clock "
                           "was set, the computer slept, or daylight-saving time began), and alarms "
                           "passed over by more than a minute are not made up")
                .arg(describe(n), durationText(now - lastChecked), from, to));
    }
}

QString AlarmEngine::describe(int slot) const
{
    const AlarmSlot& alarm = state_.slot(slot);
    return QStringLiteral("alarm %1 (\"%2\" at %3)").arg(slot).arg(alarm.name, alarm.time);
}

} // namespace vqdbd
