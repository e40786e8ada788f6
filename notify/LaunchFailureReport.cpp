// SPDX-License-Identifier: GPL-3.0-or-later
#include "LaunchFailureReport.h"

#include "alarms/CommandEnding.h"
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

EndingHandler reportFailedEnding(UserNotice& notice, const TimeTextFormat& format, const QString& origin,
                                 const QString& name, const QString& commandLine)
{
    return [&notice, &format, request = CommandRequest { origin, name, commandLine, {}, true }](
               const ProcessEnding& ending) mutable {
        if (ending.succeeded())
            return;
        request.at = dayAndTimeText(static_cast<qint64>(ending.started.time_since_epoch().count()), format);
        const QString line = commandEndingLine(request, ending);
        writeToAlarmsLog(line);
        notice.tell(captions::commandFailed(), line);
    };
}

} // namespace vqdbd
