// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <ctime>
#include <locale.h>

namespace vqdbd {

// The time of day as the clock shows it, after the user's LC_TIME. A 12-hour locale shows its own
// 12-hour text with its AM/PM designator (en_US "07:35:23 PM"); every other locale shows "HH:mm:ss",
// even where its own text has other digits, words, no seconds or a time zone ("19時35分23秒",
// "kl. 19.35 +0100"), so that a time typed as HH:mm:ss reads exactly like the clock there.
class TimeTextFormat
{
public:
    // An empty name takes the user's own LC_TIME; a locale that cannot be loaded falls back to C.
    explicit TimeTextFormat(const QByteArray& localeName = {});
    ~TimeTextFormat();
    TimeTextFormat(const TimeTextFormat&) = delete;
    TimeTextFormat& operator=(const TimeTextFormat&) = delete;

    bool loadedRequestedLocale() const { return loaded_; }
    bool isTwelveHour() const { return twelveHour_; }
    QString format(const std::tm& wallTime) const;
    QString format(int hour, int minute, int second) const;
    // The most characters a time text of this locale has; never fewer than the 8 of HH:mm:ss.
    int longestText() const { return longest_; }
    // The text of one second in every hour of the day (minutes and seconds at 59): the widest text
    // the clock shows is among them.
    QStringList hourSamples() const;

    // "HH:mm:ss", the form of a time that fires in every locale.
    static QString twentyFourHour(const std::tm& wallTime);
    static QString twentyFourHour(int hour, int minute, int second);

private:
    QString render(const QByteArray& pattern, const std::tm& wallTime) const;

    locale_t locale_ = nullptr;
    bool loaded_ = false;
    bool utf8_ = true;
    bool twelveHour_ = false;
    QByteArray pattern_; // the locale's 12-hour pattern; empty under HH:mm:ss
    int longest_ = 0;
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
