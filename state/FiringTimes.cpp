// SPDX-License-Identifier: GPL-3.0-or-later
#include "FiringTimes.h"

#include "TimeText.h"

#include <array>
#include <optional>

namespace vqdbd {

namespace {

struct TimeOfDay
{
    int hour = 0;
    int minute = 0;
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

bool FiringTimes::isTwentyFourHourTime(const QString& text)
{
    if (text.size() != 8 || text.at(2) != u':' || text.at(5) != u':')
        return false;
    for (const qsizetype at : { 0, 1, 3, 4, 6, 7 }) {
        if (text.at(at) < u'0' || text.at(at) > u'9')
            return false;
    }
    const auto number = [&text](qsizetype at) {
        return (text.at(at).unicode() - u'0') * 10 + text.at(at + 1).unicode() - u'0';
    };
    return number(0) <= 23 && number(3) <= 59 && number(6) <= 59;
}

std::optional<int> FiringTimes::secondOfDay(const QString& timeText) const
{
    const auto second = [](int hour, int minute, int rest) {
        return (hour * 60 + minute) * 60 + rest;
    };
    if (isTwentyFourHourTime(timeText)) {
        const auto number = [&timeText](qsizetype at) {
            return timeText.mid(at, 2).toInt();
        };
        return second(number(0), number(3), number(6));
    }
    // Under HH:mm:ss nothing else is ever shown.
    if (!format_.isTwelveHour())
        return std::nullopt;
    // Most 12-hour texts read as the morning or the evening time of their first numbers; only the
    // others need the whole day.
    if (const auto meant = meantTime(timeText)) {
        for (const int hour : { meant->hour % 12, meant->hour % 12 + 12 }) {
            if (format_.format(hour, meant->minute, meant->second) == timeText)
                return second(hour, meant->minute, meant->second);
        }
    }
    if (shown_.isEmpty()) {
        shown_.reserve(24 * 60 * 60);
        for (int hour = 0; hour < 24; ++hour) {
            for (int minute = 0; minute < 60; ++minute) {
                for (int rest = 0; rest < 60; ++rest)
                    shown_.insert(format_.format(hour, minute, rest), second(hour, minute, rest));
            }
        }
    }
    const auto found = shown_.constFind(timeText);
    return found == shown_.constEnd() ? std::nullopt : std::optional<int>(*found);
}

bool firesAt(const QString& alarmTime, const QString& shown, const QString& twentyFourHour)
{
    return alarmTime == shown || alarmTime == twentyFourHour;
}

} // namespace vqdbd
