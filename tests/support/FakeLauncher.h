// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/ProcessLauncher.h"

#include <QList>

namespace vqdbd::test {

// Records every start instead of starting anything; `refusal` makes starts fail with that reason.
class FakeLauncher final : public ProcessLauncher
{
public:
    struct Start
    {
        QString program;
        QStringList arguments;
        WindowStyle style;
    };

    QString start(const QString& program, const QStringList& arguments, WindowStyle style) override
    {
        starts.append({ program, arguments, style });
        return refusal;
    }

    QList<Start> starts;
    QString refusal;
};

} // namespace vqdbd::test
