// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>
#include <optional>

// The text forms in which values live in the settings store, and their conversions.
namespace vqdbd::forms {

// A check box state: decimal text of a 16-bit integer that a check box accepts (0, 1 or 2).
// A switch holds 0 (off) or 1 (on), and a check box also 2 (greyed): only exactly 1 counts as on.
constexpr bool isOn(int switchValue)
{
    return switchValue == 1;
}

std::optional<int> parseSwitch(QStringView text);
QString formatSwitch(int value);

// A colour 0x00BBGGRR: decimal text of a signed 32-bit integer.
std::optional<qint32> parseColour(QStringView text);
QString formatColour(qint32 value);

// A window's Left, Top, Width or Height in twips: a single-precision number in plain decimal,
// whole numbers without a fraction, never an exponent.
std::optional<float> parseTwips(QStringView text);
QString formatTwips(float value);

// The largest distance a window coordinate can take, in twips (Qt's widest window, 15 twips a pixel).
inline constexpr float kMaxTwips = 16777215.0f * 15.0f;

} // namespace vqdbd::forms
