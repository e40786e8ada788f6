// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/ProcessLauncher.h"

#include <QString>

namespace vqdbd {

// Splits a command line (see splitCommandLine) and starts its program; returns an empty string once
// it started, otherwise why it could not start. A program that started is heard of again through
// `whenEnded` when it ends.
QString launchCommandLine(ProcessLauncher& launcher, const QString& commandLine, WindowStyle style,
                          EndingHandler whenEnded = {});

// What applying the launch rule to a pair of switches and a command line came to.
struct LaunchAttempt
{
    bool attempted = false; // the rule asked for a launch
    QString problem; // why that launch failed; empty when it started

    bool failed() const { return attempted && !problem.isEmpty(); }
};

// The launch rule (see launchStyle) followed by at most one launch.
LaunchAttempt applyLaunchRule(ProcessLauncher& launcher, int runCommand, int runHidden,
                              const QString& commandLine, EndingHandler whenEnded = {});

// What a window says beside a command line that the splitter refuses, while it is typed ("Will not
// run: ..." with the reason); empty for a line that splits.
QString commandLineNote(const QString& commandLine);

// The one line that says a command did not start, for standard error and the user alike.
QString launchFailureLine(const QString& origin, const QString& commandLine, const QString& problem);

} // namespace vqdbd
