// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/UserNotice.h"

#include <QObject>

namespace vqdbd {

// Tells the user in the desktop's own list of notifications, which a user coming back to the machine
// looks at: sends them to org.freedesktop.Notifications on the session bus. The call is asynchronous
// and nobody waits for its reply, so a slow or absent service never holds up the clock; the bus is
// first connected to when there is something to send. A missing bus or service is only a debug
// line of vqdbd.platform.
class FreedesktopNotifier final : public QObject, public UserNotice
{
    Q_OBJECT
public:
    // The application id names the program's icon and desktop entry in each notification.
    explicit FreedesktopNotifier(QString applicationId, QObject* parent = nullptr);

    void tell(const QString& summary, const QString& body) override;

private:
    QString applicationId_;
};

} // namespace vqdbd
