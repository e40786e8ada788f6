// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace vqdbd {

// The alarm engine's view of the slots' notification windows.
class AlarmWindows
{
public:
    virtual ~AlarmWindows() = default;
    // Slot n's window from an earlier firing is still open.
    virtual bool isWindowOpen(int slot) const = 0;
    // Opens slot n's window over the clock and returns at once; the window lives on by itself.
    virtual void openWindow(int slot) = 0;
    // Slot n fired again while its window is still open: that window, and no second one, comes to the
    // front, flashes, counts down afresh when it closes itself, and shows when it last fired.
    virtual void showFiredAgain(int slot, const QString& firedAt) = 0;
};

} // namespace vqdbd
