// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/ProcessLauncher.h"

#include <optional>

namespace vqdbd {

// The launch rule shared by the alarms and the RUN NOW buttons. Only a run-command switch of exactly
// 1 launches: normal with the focus when the run-hidden switch is exactly 0, hidden when it is
// exactly 1. Any other value in either switch launches nothing, and at most one launch happens.
std::optional<WindowStyle> launchStyle(int runCommand, int runHidden);

} // namespace vqdbd
