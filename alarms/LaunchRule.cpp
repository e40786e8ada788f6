// SPDX-License-Identifier: GPL-3.0-or-later
#include "LaunchRule.h"

#include "state/ValueForms.h"

namespace vqdbd {

std::optional<WindowStyle> launchStyle(int runCommand, int runHidden)
{
    if (runHidden == 0 && forms::isOn(runCommand))
        return WindowStyle::Normal;
    if (forms::isOn(runHidden) && forms::isOn(runCommand))
        return WindowStyle::Hidden;
    return std::nullopt;
}

} // namespace vqdbd
