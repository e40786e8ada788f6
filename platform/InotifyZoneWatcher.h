// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/ZoneWatcher.h"

#include <QByteArray>
#include <QByteArrayList>
#include <map>

class QSocketNotifier;
class QTimer;

namespace vqdbd {

// Hears through inotify when the file the C library reads the local zone from is replaced (TZ
// unset: /etc/localtime; TZ=:path: that file; TZ=name: that name under TZDIR or
// /usr/share/zoneinfo), and then has the library read it again. The file is usually replaced by a
// rename, and /etc/localtime is a symbolic link, so the watch is on the folders of the file and of
// every link on the way to the zone data, for those names alone; nothing wakes while the zone stays.
class InotifyZoneWatcher final : public ZoneWatcher
{
    Q_OBJECT
public:
    explicit InotifyZoneWatcher(QObject* parent = nullptr);
    ~InotifyZoneWatcher() override;

private:
    void onReadable();
    void onSettled();
    void watchZoneFiles();

    int fd_ = -1;
    QSocketNotifier* notifier_ = nullptr;
    QTimer* settle_ = nullptr;
    // Each watched folder, by its watch, with the names in it that lead to the zone.
    std::map<int, QByteArrayList> watched_;
    bool warned_ = false;
};

} // namespace vqdbd
