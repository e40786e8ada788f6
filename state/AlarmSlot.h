// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace vqdbd {

inline constexpr int kSlotCount = 10;
// A slot's time holds as many characters as the clock's time text has in the user's locale
// (TimeTextFormat::longestText), never fewer than the 8 of HH:mm:ss; a longer text keeps its start.
inline constexpr int kShortestTimeTextLength = 8;

// One alarm slot; switches hold 0 (off) or 1 (on), and only exactly 1 counts as on.
struct AlarmSlot
{
    int enabled = 0;
    QString name = QStringLiteral("Alarm Name");
    QString time = QStringLiteral("00:00:00");
    int showMessage = 0;
    QString message = QStringLiteral("Display Message");
    int runCommand = 0;
    QString command = QStringLiteral("Run Command");
    int runHidden = 0;
    int autoClose = 0;

    friend bool operator==(const AlarmSlot&, const AlarmSlot&) = default;
};

AlarmSlot defaultSlot();

} // namespace vqdbd
