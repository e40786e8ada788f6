// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/ProcessLauncher.h"

#include <QObject>

namespace vqdbd {

// Starts programs with no shell in between: a name without a slash is looked up on PATH, a path with
// one is taken from the home folder, where every program starts. The program gets a session of its
// own (no controlling terminal, out of the clock's process group), every signal at its default and
// none blocked, standard input from /dev/null, and no other open file of the clock. Hidden, its
// output and errors go to /dev/null as well; a normal start leaves them with the clock's own, as a
// desktop launcher does.
//
// The start is a vfork-style spawn, so it costs well under a millisecond however large the clock
// is, and a program that cannot be executed is known at once. The clock reaps each program the
// moment it ends (it watches a pidfd), so none is ever left a zombie; a program still running when
// the clock ends simply runs on.
class DetachedProcessLauncher final : public ProcessLauncher
{
public:
    DetachedProcessLauncher();
    ~DetachedProcessLauncher() override;

    QString start(const QString& program, const QStringList& arguments, WindowStyle style) override;

private:
    void reapWhenDone(qint64 pid);

    QObject reapers_;
};

} // namespace vqdbd
