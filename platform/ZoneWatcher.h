// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

namespace vqdbd {

// The local time zone, as the C library turns wall time into local time (localtime_r). The desktop's
// zone can change while the clock runs: a laptop that travels with automatic time zone, or the user
// picking another zone, has the zone file replaced.
class ZoneWatcher : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~ZoneWatcher() override = default;

Q_SIGNALS:
    // The zone changed and the C library has taken the new one up: local times read from now on are
    // the new zone's, so the local time may have jumped either way, as when the clock is set.
    void zoneChanged();
};

} // namespace vqdbd
