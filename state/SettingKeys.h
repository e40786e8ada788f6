// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace vqdbd::settings {

// The clock's own settings beside the slots' (AlarmSlot.h) and the windows' places (Geometry.h):
// each key with its default, once. A key is also the name of the control that shows it.
struct Setting
{
    const char* key;
    qint32 defaultValue;

    QString name() const { return QString::fromLatin1(key); }
};

inline constexpr Setting kAlwaysOnTop { "AlwaysOnTop_TICKBOX", 1 };
inline constexpr Setting kEnableAlarms { "ENABLE_ALARMS_TICKBOX", 0 };
inline constexpr Setting kTextColour { "CLOCK_FORECOLOR", 65280 }; // green, as 0x00BBGGRR
inline constexpr Setting kBackColour { "CLOCK_BACKCOLOR", 0 }; // black

} // namespace vqdbd::settings
