// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/WakeTimer.h"

#include <QList>

namespace vqdbd::test {

// Records every arming; `refusal` stands for a system that cannot wake the computer.
class FakeWakeTimer final : public WakeTimer
{
public:
    void arm(std::optional<WallTime> when) override { armings.append(when); }
    QString problem() const override { return refusal; }

    QList<std::optional<WallTime>> armings;
    QString refusal;
};

} // namespace vqdbd::test
