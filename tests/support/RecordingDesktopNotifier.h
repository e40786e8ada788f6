// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/DesktopNotifier.h"

#include <QStringList>

namespace vqdbd::test {

// Keeps what was sent to the desktop's notification list instead of sending it.
class RecordingDesktopNotifier final : public DesktopNotifier
{
public:
    void notify(const QString& summary, const QString& body) override
    {
        summaries.append(summary);
        bodies.append(body);
    }
    QStringList summaries;
    QStringList bodies;
};

} // namespace vqdbd::test
