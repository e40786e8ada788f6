// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/WallClock.h"

#include <QString>
#include <optional>

namespace vqdbd {

// One wake-up of the computer from sleep at a wall time, where the system allows it. Arming it costs
// the running program nothing: it is a timer the kernel hands to the real-time clock when the system
// suspends, and the program is not woken by it.
class WakeTimer
{
public:
    virtual ~WakeTimer() = default;
    // Arms the wake-up for `when`, replacing any earlier one; no time disarms it.
    virtual void arm(std::optional<WallTime> when) = 0;
    // Why the computer cannot be woken, and what would allow it; empty while it can.
    virtual QString problem() const = 0;
};

} // namespace vqdbd
