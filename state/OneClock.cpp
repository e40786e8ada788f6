// SPDX-License-Identifier: GPL-3.0-or-later
#include "OneClock.h"

namespace vqdbd::oneclock {

StartDecision decideStart(RunningCopy& copies, const QString& programName, const QString& settingsPath)
{
    const QString prefix = programName + QStringLiteral(": ");
    const StartDecision unanswered { false, 1,
                                     prefix + QStringLiteral("already running for ") + settingsPath
                                         + QStringLiteral(", but it does not answer; not started twice") };
    for (int ask = 0; ask < kAsks; ++ask) {
        if (ask > 0)
            copies.pause(kPauseBetweenAsks);
        switch (copies.claim()) {
        case RunningCopy::Claim::Ours:
            return {};
        case RunningCopy::Claim::Unavailable:
            return { true, 0,
                     prefix + QStringLiteral("cannot make sure that no other copy runs for ") + settingsPath
                         + QStringLiteral(" (") + copies.problem() + QStringLiteral("); starting anyway") };
        case RunningCopy::Claim::Held:
            break;
        }
        switch (copies.askToFront(kAnswerWait)) {
        case RunningCopy::Reply::BroughtToFront:
            return { false, 0,
                     prefix + QStringLiteral("already running for ") + settingsPath
                         + QStringLiteral("; brought it to the front") };
        case RunningCopy::Reply::Silent:
            return unanswered;
        case RunningCopy::Reply::NotListening:
            break;
        }
    }
    return unanswered;
}

QString shownPath(const QString& path, const QString& home)
{
    if (home.isEmpty() || home == QStringLiteral("/") || !path.startsWith(home))
        return path;
    const QString rest = path.mid(home.endsWith(QLatin1Char('/')) ? home.size() - 1 : home.size());
    if (!rest.startsWith(QLatin1Char('/')))
        return path;
    return QLatin1Char('~') + rest;
}

} // namespace vqdbd::oneclock
