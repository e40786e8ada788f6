#pragma once

#include "ProcessLauncher.h"

namespace vqdbd {

// Starts programs with no shell in between: a name without a slash is looked up on PATH, a path with
// one is taken from the home folder, where every program starts. The program runs detached in a
// session of its own (Qt starts it through an intermediate process that is reaped at once), so it
// outlives the clock and never lingers as a zombie. Its standard input is /dev/null; hidden, its
// output and errors go to /dev/null as well, while a normal start leaves them with the clock's own,
// as a desktop launcher does.
class DetachedProcessLauncher final : public ProcessLauncher
{
public:
    QString start(const QString& program, const QStringList& arguments, WindowStyle style) override;
};

} // namespace vqdbd
