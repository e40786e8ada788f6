// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "state/AlarmSlot.h"
#include "state/TimeText.h"

#include <QObject>
#include <QString>
#include <array>
#include <optional>

namespace vqdbd {

class AlarmWindows;
struct CommandRequest;
struct ProcessEnding;
class LiveState;
class ProcessLauncher;
class UserNotice;
class WakeTimer;

// The ten slot checks. It hears every second the clock displays and fires each running slot whose
// time is exactly that second's text or, in any locale, that second as HH:mm:ss (see firesAt): first
// its command by the launch rule, then, with
// showMessage exactly 1, its notification window. Each displayed second is looked at once, so a slot
// fires exactly once at its second: the last minute of the seconds that a late wake-up, a clock step,
// a new time zone or a resume passed over is made up, and a slot never fires twice on one day for the
// same time text, which also keeps a clock set back, or a daylight-saving hour lived twice, from
// firing it again. A slot whose window from an earlier firing is still open fires all the same: its
// command runs, and that window shows the new firing instead of a second window opening. An alarm passed over
// by more than a minute is told to the user, in the desktop's notification list as well, with why the
// computer was not woken for it where it could not be. So is a command that started and then failed (a
// non-zero exit status, or a signal ended it), once, with the alarm as it fired and the last line the command
// wrote to its standard error. A command that did not start is told as well. All of it is told through
// the notice it is given, which also writes each line to the program's log.
// Its ten slot checks are the designed ALARM_1_TIMER, ALARM_2_TIMER, ALARM_3_TIMER, ALARM_4_TIMER,
// ALARM_5_TIMER, ALARM_6_TIMER, ALARM_7_TIMER, ALARM_8_TIMER, ALARM_9_TIMER, ALARM_10_TIMER: no timer of
// their own.
class AlarmEngine final : public QObject
{
    Q_OBJECT
public:
    // Seconds passed over by a late wake-up or a small clock step that are still made up.
    static constexpr qint64 kMostSecondsMadeUp = 60;

    AlarmEngine(LiveState& state, ProcessLauncher& launcher, const TimeTextFormat& format,
                AlarmWindows& windows, UserNotice& notice, UserNotice& desktop, const WakeTimer& wakeTimer,
                QObject* parent = nullptr);

    // The clock displays a new second with this text.
    void onSecondShown(const vqdbd::WallSecond& second, const QString& text);

Q_SIGNALS:
    // Slot n fired at the second whose time text is given.
    void fired(int slot, const QString& timeText);

private:
    struct Firing
    {
        qint64 localDay = 0;
        QString text;

        static bool isOf(const std::optional<Firing>& firing, qint64 localDay, const QString& text)
        {
            return firing && firing->localDay == localDay && firing->text == text;
        }
    };

    void checkSecond(qint64 localSecond, const QString& text);
    void fire(int slot, qint64 localSecond, const QString& text);
    bool firedOnDay(int slot, qint64 localDay, const QString& text) const;
    // Tells of the alarms due after lastChecked and before until, passed over by the jump to now.
    void reportPassedOver(qint64 lastChecked, qint64 until, qint64 now);
    void reportEnding(const CommandRequest& request, const ProcessEnding& ending);
    QString describe(int slot) const;

    LiveState& state_;
    ProcessLauncher& launcher_;
    const TimeTextFormat& format_;
    AlarmWindows& windows_;
    UserNotice& notice_;
    UserNotice& desktop_;
    const WakeTimer& wakeTimer_;
    std::optional<qint64> lastLocalSecond_;
    std::array<std::optional<Firing>, kSlotCount> lastFiring_ {};
    // The last day and time each slot was told missed: the zone changing back and forth over an
    // alarm passes its time over again, but it was missed once that day.
    std::array<std::optional<Firing>, kSlotCount> lastMissed_ {};
};

} // namespace vqdbd
