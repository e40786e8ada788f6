// SPDX-License-Identifier: GPL-3.0-or-later
#include "TimeText.h"

#include "AlarmSlot.h"

#include <algorithm>
#include <cstring>
#include <langinfo.h>

namespace vqdbd {

namespace {

std::tm timeOfDay(int hour, int minute, int second)
{
    std::tm time {};
    time.tm_hour = hour;
    time.tm_min = minute;
    time.tm_sec = second;
    time.tm_mday = 1;
    time.tm_year = 70;
    return time;
}

// The locale's time of day as a strftime pattern: its T_FMT with "%r" spelled out as its 12-hour
// pattern (en_US writes T_FMT as "%r"), and with the time zone left out: ar_EG, hi_IN and dozens
// more name the zone, which is no time of day and changes with daylight-saving time.
QByteArray timeOfDayPattern(locale_t locale)
{
    QByteArray pattern = nl_langinfo_l(T_FMT, locale);
    pattern.replace("%r", nl_langinfo_l(T_FMT_AMPM, locale));
    pattern.replace("%Z", "").replace("%z", "");
    return pattern.simplified();
}

} // namespace

TimeTextFormat::TimeTextFormat(const QByteArray& localeName)
{
    // LC_CTYPE comes along only to say which encoding the locale's texts are in.
    const char* name = localeName.isEmpty() ? "" : localeName.constData();
    locale_ = newlocale(LC_TIME_MASK | LC_CTYPE_MASK, name, nullptr);
    loaded_ = locale_ != nullptr;
    if (!locale_)
        locale_ = newlocale(LC_TIME_MASK | LC_CTYPE_MASK, "C", nullptr);
    const char* codeset = nl_langinfo_l(CODESET, locale_);
    utf8_ = codeset && (std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "ANSI_X3.4-1968") == 0);

    // Whether the locale keeps a 12-hour clock is read from what it writes, not from its pattern's
    // letters (the hour may be %I, %l or %OI, and "%r" stands for another pattern): it is a 12-hour
    // locale when its text tells 07:35:23 from 19:35:23 by the AM/PM designator alone (the evening's
    // text is the morning's with the PM string in place of the AM one) and shows the seconds.
    // A pattern that names no designator cannot tell morning from evening and gets HH:mm:ss.
    const QByteArray pattern = timeOfDayPattern(locale_);
    const QString am = render("%p", timeOfDay(7, 0, 0));
    const QString pm = render("%p", timeOfDay(19, 0, 0));
    const QString morning = render(pattern, timeOfDay(7, 35, 23));
    if (!am.isEmpty() && !pm.isEmpty() && am != pm && morning.contains(am)) {
        twelveHour_ = QString(morning).replace(am, pm) == render(pattern, timeOfDay(19, 35, 23))
            && morning != render(pattern, timeOfDay(7, 35, 24));
    }
    if (twelveHour_)
        pattern_ = pattern;
    longest_ = kShortestTimeTextLength;
    for (const QString& text : hourSamples())
        longest_ = std::max(longest_, static_cast<int>(text.size()));
}

TimeTextFormat::~TimeTextFormat()
{
    if (locale_)
        freelocale(locale_);
}

QString TimeTextFormat::render(const QByteArray& pattern, const std::tm& wallTime) const
{
    char buffer[256];
    const std::size_t length = strftime_l(buffer, sizeof buffer, pattern.constData(), &wallTime, locale_);
    return utf8_ ? QString::fromUtf8(buffer, static_cast<qsizetype>(length))
                 : QString::fromLatin1(buffer, static_cast<qsizetype>(length));
}

QString TimeTextFormat::format(const std::tm& wallTime) const
{
    return twelveHour_ ? render(pattern_, wallTime) : twentyFourHour(wallTime);
}

QString TimeTextFormat::format(int hour, int minute, int second) const
{
    return format(timeOfDay(hour, minute, second));
}

QStringList TimeTextFormat::hourSamples() const
{
    QStringList samples;
    for (int hour = 0; hour < 24; ++hour)
        samples.append(format(hour, 59, 59));
    return samples;
}

QString TimeTextFormat::twentyFourHour(const std::tm& wallTime)
{
    return twentyFourHour(wallTime.tm_hour, wallTime.tm_min, wallTime.tm_sec);
}

QString TimeTextFormat::twentyFourHour(int hour, int minute, int second)
{
    QString text(8, u':');
    const auto put = [&text](qsizetype at, int value) {
        text[at] = QChar(u'0' + value / 10 % 10);
        text[at + 1] = QChar(u'0' + value % 10);
    };
    put(0, hour);
    put(3, minute);
    put(6, second);
    return text;
}

WallSecond wallSecondAt(qint64 utcSecond)
{
    WallSecond result;
    result.utcSecond = utcSecond;
    const time_t seconds = static_cast<time_t>(utcSecond);
    localtime_r(&seconds, &result.local);
    std::tm copy = result.local;
    result.localSecond = static_cast<qint64>(timegm(&copy));
    return result;
}

std::tm localTimeOf(qint64 localSecond)
{
    std::tm result {};
    const time_t seconds = static_cast<time_t>(localSecond);
    gmtime_r(&seconds, &result);
    return result;
}

} // namespace vqdbd
