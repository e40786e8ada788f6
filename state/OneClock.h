// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/RunningCopy.h"

#include <QString>
#include <chrono>

namespace vqdbd::oneclock {

// A copy that finds the lock held by a copy that is still starting (not listening yet) asks again
// this many times, pausing between; once its call is taken it waits this long for the answer, which
// the running copy gives when its clock window is up.
inline constexpr int kAsks = 40;
inline constexpr std::chrono::milliseconds kPauseBetweenAsks { 50 };
inline constexpr std::chrono::milliseconds kAnswerWait { 5000 };

struct StartDecision
{
    bool runClock = true;
    int exitStatus = 0; // when the clock does not run
    QString message; // one line for standard error, or empty
};

// One clock per settings file: the copy that gets the lock runs the clock; any other copy asks the
// running one to bring its clock to the front and ends (status 0 once it did, 1 when it did not
// answer). A running copy that ends while asked leaves the lock to this one. Where no lock can be had
// the clock runs anyway, as it did before there was a lock, and says so.
StartDecision decideStart(RunningCopy& copies, const QString& programName, const QString& settingsPath);

// The path as the user reads it, the home folder written as "~".
QString shownPath(const QString& path, const QString& home);

} // namespace vqdbd::oneclock
