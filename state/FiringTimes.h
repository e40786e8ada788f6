#pragma once

#include <QSet>
#include <QString>

namespace vqdbd {

class TimeTextFormat;

// Which alarm times can ever fire: an alarm fires only when its time text is exactly the clock's
// time text, so a time written in another form ("7:30", "07:30", a 24-hour time under a 12-hour
// format) never does.
class FiringTimes
{
public:
    explicit FiringTimes(const TimeTextFormat& format);

    // Whether the clock shows exactly this text at some second of the day.
    bool canFire(const QString& timeText) const;
    // The clock's text for the time of day the typed text seems to mean (its first numbers read as
    // hours, minutes and seconds), or for 07:30:00 when it means none.
    QString clockFormOf(const QString& typed) const;

private:
    const TimeTextFormat& format_;
    // Every text the clock shows in a day; built when first needed.
    mutable QSet<QString> shown_;
};

} // namespace vqdbd
