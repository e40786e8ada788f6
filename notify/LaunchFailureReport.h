// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/ProcessLauncher.h"

#include <QString>

namespace vqdbd {

class TimeTextFormat;
class UserNotice;

// Says that a command line did not start, in one line told through the notice, which the clock gives as
// one that also writes it to the program's log. `origin` names who asked for the launch ("alarm 3").
void reportLaunchFailure(UserNotice& notice, const QString& origin, const QString& commandLine,
                         const QString& problem);

// Hears how a command started by RUN NOW ended, and says so in the same two places when it failed:
// `origin` names the window, `name` the alarm it showed, and the line gives when RUN NOW was pressed,
// as `format` writes the time. The window may have closed meanwhile; the notice and the format must
// live as long as the launcher.
EndingHandler reportFailedEnding(UserNotice& notice, const TimeTextFormat& format, const QString& origin,
                                 const QString& name, const QString& commandLine);

} // namespace vqdbd
