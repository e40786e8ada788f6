#pragma once

#include <QByteArray>
#include <QString>
#include <ctime>
#include <locale.h>

namespace vqdbd {

// The time of day as the user's regional format writes it: the C library's "%X" of LC_TIME.
// Under C and 24-hour locales that is "HH:MM:SS"; 12-hour locales add their AM/PM.
class TimeTextFormat
{
public:
    // An empty name takes the user's own LC_TIME; a locale that cannot be loaded falls back to C.
    explicit TimeTextFormat(const QByteArray& localeName = {});
    ~TimeTextFormat();
    TimeTextFormat(const TimeTextFormat&) = delete;
    TimeTextFormat& operator=(const TimeTextFormat&) = delete;

    bool loadedRequestedLocale() const { return loaded_; }
    QString format(const std::tm& wallTime) const;
    QString format(int hour, int minute, int second) const;

private:
    locale_t locale_ = nullptr;
    bool loaded_ = false;
    bool utf8_ = true;
};

// One second of wall-clock time: the UTC second, and the local time of day it shows.
struct WallSecond
{
    qint64 utcSecond = 0;
    // Local time counted as seconds since 1970-01-01 00:00 local: jumps by an hour at a DST change.
    qint64 localSecond = 0;
    std::tm local {};
};

WallSecond wallSecondAt(qint64 utcSecond);
// The broken-down local time of a local second count (which need not exist in UTC, as in a DST gap).
std::tm localTimeOf(qint64 localSecond);

} // namespace vqdbd
