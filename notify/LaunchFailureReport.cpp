// SPDX-License-Identifier: GPL-3.0-or-later
#include "LaunchFailureReport.h"

#include "alarms/CommandEnding.h"
#include "alarms/CommandLaunch.h"
#include "platform/UserNotice.h"
#include "state/Captions.h"

namespace vqdbd {

void reportLaunchFailure(UserNotice& notice, const QString& origin, const QString& commandLine,
                         const QString& problem)
{
    notice.tell(captions::commandNotStarted(), launchFailureLine(origin, commandLine, problem));
}

EndingHandler reportFailedEnding(UserNotice& notice, const TimeTextFormat& format, const QString& origin,
                                 const QString& name, const QString& commandLine)
{
    return [&notice, &format, request = CommandRequest { origin, name, commandLine, {}, true }](
               const ProcessEnding& ending) mutable {
        if (ending.succeeded())
            return;
        request.at = dayAndTimeText(static_cast<qint64>(ending.started.time_since_epoch().count()), format);
        notice.tell(captions::commandFailed(), commandEndingLine(request, ending));
    };
}

} // namespace vqdbd
