// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace vqdbd {

// The desktop's own list of notifications, which a user coming back to the machine looks at.
class DesktopNotifier
{
public:
    virtual ~DesktopNotifier() = default;
    // Hands a notification to the desktop and returns at once; where the desktop has no
    // notification service, nothing happens.
    virtual void notify(const QString& summary, const QString& body) = 0;
};

} // namespace vqdbd
