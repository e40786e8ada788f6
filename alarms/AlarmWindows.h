#pragma once

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
};

} // namespace vqdbd
