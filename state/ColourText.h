// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringView>
#include <optional>

namespace vqdbd {

// The colour a typed text stands for, read the way the colours window reads its entry boxes: every
// blank, tab and line feed is dropped wherever it stands; "&H" (either case) starts hexadecimal
// digits, read up to the first character that is not one, as a 32-bit value (so &H80000005& is the
// system colour it names); anything else is read as a decimal number and rounded to the nearest
// whole number, a half going to the even neighbour. Text that starts with no number gives 0 (black).
// A number that does not fit into 32 bits gives nothing.
std::optional<qint32> colourTextValue(QStringView text);

// The highest index of a system colour (0x80000000 | index) the clock can show.
inline constexpr int kLastSystemColourIndex = 24;

// Whether the clock can show a colour value: 0x00000000 to 0x00FFFFFF, or a system colour.
bool isClockColour(qint32 value);

// A typed colour the clock can show, or nothing when the text names no such colour.
std::optional<qint32> clockColourFromText(QStringView text);

} // namespace vqdbd
