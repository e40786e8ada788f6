// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "NotificationWindowBase.h"

#include <QFont>

class QLabel;

namespace vqdbd {

// VQ_DBD_ALARM_n_NOTIFICATION_WINDOW: what slot n's alarm shows when it fires. It loads its place and
// auto-close choice from the store and the slot's name, message and command from the live state, and
// writes its place and auto-close choice back whenever it closes.
class AlarmNotificationWindow final : public NotificationWindowBase
{
    Q_OBJECT
public:
    static QString windowName(int slot);
    static QString titleFor(const QString& alarmName);

    AlarmNotificationWindow(const WindowServices& services, int slot, QWidget* owner);

    // Creates slot n's window over its owner, loads it and shows it modally.
    static AlarmNotificationWindow* showOver(const WindowServices& services, int slot, QWidget* owner);

    int slot() const { return slot_; }
    void load() override;
    // The slot fired again while this window was open: it shows the slot as it is now and when it
    // fired, and comes back before the user.
    void showFiredAgain(const QString& firedAt);

protected:
    // Its place and its auto-close switch.
    void saveOnClosing() override;
    QString launchOrigin() const override;

private:
    void showSlot();

    int slot_;
    QLabel* firedAgain_;
    QFont firedAgainFont_;
};

} // namespace vqdbd
