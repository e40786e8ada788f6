// SPDX-License-Identifier: GPL-3.0-or-later
#include "ColourText.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace vqdbd {

namespace {

bool isIgnored(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

// The text without blanks, tabs and line feeds; characters outside ASCII become one that ends any
// number, so that no other script's digits are read as ours.
std::string squeezed(QStringView text)
{
    std::string result;
    result.reserve(static_cast<std::size_t>(text.size()));
    for (const QChar c : text) {
        if (isIgnored(c.unicode()))
            continue;
        result.push_back(c.unicode() < 0x80 ? static_cast<char>(c.unicode()) : '\x7f');
    }
    return result;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::optional<qint32> hexValue(const std::string& text, std::size_t from)
{
    // The leading hex digits; none at all read as 0.
    quint32 value = 0;
    if (std::from_chars(text.data() + from, text.data() + text.size(), value, 16).ec
        == std::errc::result_out_of_range)
        return std::nullopt;
    // Eight digits fill the 32 bits, the top one being the sign: &H80000005& is negative.
    return static_cast<qint32>(value);
}

std::optional<qint32> decimalValue(const std::string& text)
{
    // The longest leading part of the form [sign] digits [. digits].
    std::size_t end = 0;
    if (end < text.size() && (text[end] == '+' || text[end] == '-'))
        ++end;
    const std::size_t numberStart = end;
    bool digits = false;
    bool wholePart = false; // a non-zero digit before the point
    while (end < text.size() && isDigit(text[end])) {
        wholePart = wholePart || text[end] != '0';
        ++end;
        digits = true;
    }
    if (end < text.size() && text[end] == '.') {
        std::size_t fraction = end + 1;
        while (fraction < text.size() && isDigit(text[fraction])) {
            ++fraction;
            digits = true;
        }
        end = fraction;
    }
    if (!digits)
        return 0;

    double magnitude = 0;
    const char* first = text.data() + numberStart;
    const char* last = text.data() + end;
    const auto [stop, error] = std::from_chars(first, last, magnitude);
    if (error == std::errc::result_out_of_range)
        return wholePart ? std::nullopt : std::optional<qint32>(0); // too large, or too small to matter
    if (error != std::errc {} || stop == first)
        return 0;
    const double value = text[0] == '-' ? -magnitude : magnitude;
    // The default rounding mode takes a half to the even neighbour.
    const double whole = std::nearbyint(value);
    if (!(whole >= static_cast<double>(std::numeric_limits<qint32>::min())
          && whole <= static_cast<double>(std::numeric_limits<qint32>::max())))
        return std::nullopt;
    return static_cast<qint32>(whole);
}

} // namespace

std::optional<qint32> colourTextValue(QStringView text)
{
    const std::string plain = squeezed(text);
    if (plain.size() >= 2 && plain[0] == '&' && (plain[1] == 'H' || plain[1] == 'h'))
        return hexValue(plain, 2);
    return decimalValue(plain);
}

bool isClockColour(qint32 value)
{
    const auto bits = static_cast<quint32>(value);
    if (bits <= 0x00FFFFFFu)
        return true;
    return (bits & 0xFFFFFF00u) == 0x80000000u && (bits & 0xFFu) <= kLastSystemColourIndex;
}

std::optional<qint32> clockColourFromText(QStringView text)
{
    const auto value = colourTextValue(text);
    if (value && isClockColour(*value))
        return value;
    return std::nullopt;
}

} // namespace vqdbd
