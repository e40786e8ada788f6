// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QString>
#include <ctime>
#include <optional>

namespace vqdbd {

class TimeTextFormat;

// Which alarm times can ever fire. In every locale a time written "HH:mm:ss" fires at that second;
// under a 12-hour clock the clock's own text ("07:30:00 PM") fires too. A time written in any other
// form ("7:30", "07:30", "25:00:00", "noon") never does.
class FiringTimes
{
public:
    explicit FiringTimes(const TimeTextFormat& format);

    // Whether some second of the day fires this alarm time.
    bool canFire(const QString& timeText) const { return secondOfDay(timeText).has_value(); }
    // The second of the day (0 to 86399) that fires this alarm time, if any.
    std::optional<int> secondOfDay(const QString& timeText) const;

    // A time of day written as two-digit hours, minutes and seconds: "07:30:00", not "7:30:00".
    static bool isTwentyFourHourTime(const QString& text);

private:
    const TimeTextFormat& format_;
    // Every text the clock shows in a day, with its second of the day; built when first needed.
    mutable QHash<QString, int> shown_;
};

// Whether an alarm time fires at the second the clock shows as `shown`, which is `twentyFourHour` as
// HH:mm:ss (the same text under a 24-hour clock).
bool firesAt(const QString& alarmTime, const QString& shown, const QString& twentyFourHour);

} // namespace vqdbd
