// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/ZoneWatcher.h"

#include <QByteArray>
#include <ctime>

namespace vqdbd::test {

// A change of time zone when the test says: moveTo() sets TZ, has the C library take it up and tells
// the listeners, as the real watcher does once the zone file was replaced.
class FakeZoneWatcher final : public ZoneWatcher
{
    Q_OBJECT
public:
    using ZoneWatcher::ZoneWatcher;

    void moveTo(const QByteArray& zone)
    {
        qputenv("TZ", zone);
        tzset();
        Q_EMIT zoneChanged();
    }
};

} // namespace vqdbd::test
