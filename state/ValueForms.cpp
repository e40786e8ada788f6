// SPDX-License-Identifier: GPL-3.0-or-later
#include "ValueForms.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace vqdbd::forms {

namespace {

// Blanks around a number are tolerated; anything else that is not part of it is not.
QByteArray trimmedLatin1(QStringView text)
{
    return text.trimmed().toLatin1();
}

template<typename Integer> std::optional<Integer> parseInteger(QStringView text)
{
    const QByteArray bytes = trimmedLatin1(text);
    const char* begin = bytes.constData();
    const char* end = begin + bytes.size();
    if (begin != end && *begin == '+')
        ++begin;
    Integer value {};
    const auto [stop, error] = std::from_chars(begin, end, value, 10);
    if (begin == end || error != std::errc {} || stop != end)
        return std::nullopt;
    return value;
}

bool isPlainDecimal(const QByteArray& bytes)
{
    qsizetype i = 0;
    if (i < bytes.size() && (bytes[i] == '+' || bytes[i] == '-'))
        ++i;
    bool digits = false;
    bool point = false;
    for (; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c >= '0' && c <= '9')
            digits = true;
        else if (c == '.' && !point)
            point = true;
        else
            return false;
    }
    return digits;
}

} // namespace

std::optional<int> parseSwitch(QStringView text)
{
    const auto value = parseInteger<qint16>(text);
    if (!value || *value < 0 || *value > 2)
        return std::nullopt;
    return *value;
}

QString formatSwitch(int value)
{
    return QString::number(value);
}

std::optional<qint32> parseColour(QStringView text)
{
    return parseInteger<qint32>(text);
}

QString formatColour(qint32 value)
{
    return QString::number(value);
}

std::optional<float> parseTwips(QStringView text)
{
    const QByteArray bytes = trimmedLatin1(text);
    if (!isPlainDecimal(bytes))
        return std::nullopt;
    const char* begin = bytes.constData();
    if (*begin == '+')
        ++begin;
    float value = 0;
    const auto [stop, error] = std::from_chars(begin, bytes.constData() + bytes.size(), value);
    if (error != std::errc {} || !std::isfinite(value) || std::fabs(value) > kMaxTwips)
        return std::nullopt;
    return value == 0.0f ? 0.0f : value; // no "-0"
}

QString formatTwips(float value)
{
    if (value == 0.0f || !std::isfinite(value))
        return QStringLiteral("0");
    // The shortest plain-decimal text that reads back as the same single-precision number.
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    if (error != std::errc {})
        return QStringLiteral("0");
    return QString::fromLatin1(buffer, end - buffer);
}

} // namespace vqdbd::forms
