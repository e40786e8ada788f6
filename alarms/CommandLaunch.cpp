// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLaunch.h"

#include "CommandLine.h"
#include "LaunchRule.h"
#include "state/AlarmSlot.h"

namespace vqdbd {

QString launchCommandLine(ProcessLauncher& launcher, const QString& commandLine, WindowStyle style,
                          EndingHandler whenEnded)
{
    const SplitCommandLine split = splitCommandLine(commandLine);
    if (!split.problem.isEmpty())
        return split.problem;
    QStringList arguments = split.words;
    const QString program = arguments.takeFirst();
    QString problem = launcher.start(program, arguments, style, std::move(whenEnded));
    // The untouched default is tried like any other line; when it fails, say where it came from.
    if (!problem.isEmpty() && commandLine == defaultSlot().command)
        problem += QStringLiteral(" (the command line still holds its default text)");
    return problem;
}

LaunchAttempt applyLaunchRule(ProcessLauncher& launcher, int runCommand, int runHidden,
                              const QString& commandLine, EndingHandler whenEnded)
{
    const std::optional<WindowStyle> style = launchStyle(runCommand, runHidden);
    if (!style)
        return {};
    return { true, launchCommandLine(launcher, commandLine, *style, std::move(whenEnded)) };
}

QString commandLineNote(const QString& commandLine)
{
    const QString problem = splitCommandLine(commandLine).problem;
    return problem.isEmpty() ? QString() : QStringLiteral("Will not run: %1").arg(problem);
}

QString launchFailureLine(const QString& origin, const QString& commandLine, const QString& problem)
{
    return QStringLiteral("%1: the command line \"%2\" was not started: %3")
        .arg(origin, commandLine, problem);
}

} // namespace vqdbd
