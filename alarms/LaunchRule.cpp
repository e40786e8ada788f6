// SPDX-License-Identifier: GPL-3.0-or-later
#include "LaunchRule.h"

namespace vqdbd {

std::optional<WindowStyle> launchStyle(int runCommand, int runHidden)
{
    if (runHidden == 0 && runCommand == 1)
        return WindowStyle::Normal;
    if (runHidden == 1 && runCommand == 1)
        return WindowStyle::Hidden;
    return std::nullopt;
}

} // namespace vqdbd
