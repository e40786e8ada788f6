// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/Design.h"

#include <vector>

namespace vqdbd {

// The notification window's controls as designed, shared by the ten slot windows.
std::vector<ui::ControlDesign> notificationDesign();
// The test notification window: the same design with its own texts, a smaller message font and a
// run-command check box the user may tick.
std::vector<ui::ControlDesign> testNotificationDesign();

} // namespace vqdbd
