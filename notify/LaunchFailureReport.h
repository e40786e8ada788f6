// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace vqdbd {

class UserNotice;

// Says that a command line did not start: one line on standard error, and the same line to the user
// in a message that blocks nothing. `origin` names who asked for the launch ("alarm 3").
void reportLaunchFailure(UserNotice& notice, const QString& origin, const QString& commandLine,
                         const QString& problem);

} // namespace vqdbd
