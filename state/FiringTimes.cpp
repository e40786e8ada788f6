#include "FiringTimes.h"

#include "TimeText.h"

#include <array>
#include <optional>

namespace vqdbd {

namespace {

struct TimeOfDay
{
    int hour = 7;
    int minute = 30;
    int second = 0;
};

// Up to three runs of digits, read as hours, minutes and seconds (missing ones are 0).
std::optional<TimeOfDay> meantTime(const QString& typed)
{
    std::array<int, 3> parts { 0, 0, 0 };
    int found = 0;
    int value = -1;
    for (qsizetype i = 0; i <= typed.size() && found < 3; ++i) {
        const QChar c = i < typed.size() ? typed.at(i) : QChar();
        if (c >= u'0' && c <= u'9') {
            value = (value < 0 ? 0 : value) * 10 + (c.unicode() - u'0');
            if (value > 99)
                return std::nullopt;
        } else if (value >= 0) {
            parts[static_cast<std::size_t>(found++)] = value;
            value = -1;
        }
    }
    if (found == 0 || parts[0] > 23 || parts[1] > 59 || parts[2] > 59)
        return std::nullopt;
    return TimeOfDay { parts[0], parts[1], parts[2] };
}

} // namespace

FiringTimes::FiringTimes(const TimeTextFormat& format)
    : format_(format)
{ }

bool FiringTimes::canFire(const QString& timeText) const
{
    // Most texts are meant as the time they read as; only the others need the whole day.
    if (const auto meant = meantTime(timeText)) {
        if (format_.format(meant->hour, meant->minute, meant->second) == timeText)
            return true;
    }
    if (shown_.isEmpty()) {
        shown_.reserve(24 * 60 * 60);
        for (int hour = 0; hour < 24; ++hour) {
            for (int minute = 0; minute < 60; ++minute) {
                for (int second = 0; second < 60; ++second)
                    shown_.insert(format_.format(hour, minute, second));
            }
        }
    }
    return shown_.contains(timeText);
}

QString FiringTimes::clockFormOf(const QString& typed) const
{
    const TimeOfDay time = meantTime(typed).value_or(TimeOfDay {});
    return format_.format(time.hour, time.minute, time.second);
}

} // namespace vqdbd
