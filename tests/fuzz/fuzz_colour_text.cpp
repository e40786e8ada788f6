// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: the colour text conversion never crashes, and whatever it accepts for the clock
// is a colour the clock can show.
#include "state/ColourText.h"

#include <QString>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto value = vqdbd::colourTextValue(text);
    const auto clock = vqdbd::clockColourFromText(text);
    if (clock && (!value || *clock != *value || !vqdbd::isClockColour(*clock)))
        std::abort();
    return 0;
}
