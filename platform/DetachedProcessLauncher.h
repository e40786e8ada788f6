#pragma once

#include "ProcessLauncher.h"

namespace vqdbd {

// Starts programs found on PATH with no shell in between, detached so that they outlive the clock
// and never linger as zombies.
class DetachedProcessLauncher final : public ProcessLauncher
{
public:
    QString start(const QString& program, const QStringList& arguments, WindowStyle style) override;
};

} // namespace vqdbd
