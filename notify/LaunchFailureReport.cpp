// SPDX-License-Identifier: GPL-3.0-or-later
#include "LaunchFailureReport.h"

#include "alarms/CommandLaunch.h"
#include "alarms/Diagnostics.h"
#include "ui/UserNotice.h"

namespace vqdbd {

void reportLaunchFailure(UserNotice& notice, const QString& origin, const QString& commandLine,
                         const QString& problem)
{
    const QString line = launchFailureLine(origin, commandLine, problem);
    writeToAlarmsLog(line);
    notice.tell(QStringLiteral("VQ-DBD - V3 - COMMAND NOT STARTED"), line);
}

} // namespace vqdbd
