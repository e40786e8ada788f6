// SPDX-License-Identifier: GPL-3.0-or-later
#include "LaunchFailureReport.h"

#include "alarms/CommandLaunch.h"
#include "alarms/Diagnostics.h"
#include "state/Captions.h"
#include "ui/UserNotice.h"

namespace vqdbd {

void reportLaunchFailure(UserNotice& notice, const QString& origin, const QString& commandLine,
                         const QString& problem)
{
    const QString line = launchFailureLine(origin, commandLine, problem);
    writeToAlarmsLog(line);
    notice.tell(captions::commandNotStarted(), line);
}

} // namespace vqdbd
