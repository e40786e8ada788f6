// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/ProcessLauncher.h"

#include <QObject>

namespace vqdbd {

// Starts programs with no shell in between: a name without a slash is looked up on PATH, a path with
// one is taken from the home folder, where every program starts. The program gets a session of its
// own (no controlling terminal, out of the clock's process group), every signal at its default and
// none blocked, standard input from /dev/null, and no other open file of the clock. Its output goes
// to /dev/null when hidden and to the clock's own otherwise, as a desktop launcher does. Its errors go
// to a pipe that the clock reads as they come, without ever waiting on it: the last few kilobytes are
// kept for the report of how it ended, and for a normal start they are passed on to the clock's own
// standard error as well.
//
// The start is a vfork-style spawn, so it costs well under a millisecond however large the clock
// is, and a program that cannot be executed is known at once. The clock reaps each program the
// moment it ends (it watches a pidfd), so none is ever left a zombie, and tells how it ended. A
// program still running when the launcher goes simply runs on: its error pipe is handed to a small
// process of its own (cat, in a session of its own) that reads it to its end, so that a later write
// finds a reader and the program neither blocks nor dies of SIGPIPE.
class DetachedProcessLauncher final : public ProcessLauncher
{
public:
    DetachedProcessLauncher();
    ~DetachedProcessLauncher() override;

    QString start(const QString& program, const QStringList& arguments, WindowStyle style,
                  EndingHandler whenEnded = {}) override;

private:
    // The reapers of the programs still running, and the error pipes that outlived their program.
    QObject reapers_;
};

} // namespace vqdbd
