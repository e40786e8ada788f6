#include "TimeText.h"

#include <cstring>
#include <langinfo.h>

namespace vqdbd {

TimeTextFormat::TimeTextFormat(const QByteArray& localeName)
{
    locale_ = newlocale(LC_TIME_MASK, localeName.isEmpty() ? "" : localeName.constData(), nullptr);
    loaded_ = locale_ != nullptr;
    if (!locale_)
        locale_ = newlocale(LC_TIME_MASK, "C", nullptr);
    const char* codeset = nl_langinfo_l(CODESET, locale_);
    utf8_ = codeset && (std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "ANSI_X3.4-1968") == 0);
}

TimeTextFormat::~TimeTextFormat()
{
    if (locale_)
        freelocale(locale_);
}

QString TimeTextFormat::format(const std::tm& wallTime) const
{
    char buffer[128];
    const std::size_t length = strftime_l(buffer, sizeof buffer, "%X", &wallTime, locale_);
    return utf8_ ? QString::fromUtf8(buffer, static_cast<qsizetype>(length))
                 : QString::fromLatin1(buffer, static_cast<qsizetype>(length));
}

QString TimeTextFormat::format(int hour, int minute, int second) const
{
    std::tm time {};
    time.tm_hour = hour;
    time.tm_min = minute;
    time.tm_sec = second;
    time.tm_mday = 1;
    time.tm_year = 70;
    return format(time);
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
